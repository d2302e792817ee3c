#pragma once

#include <kelvane/codeblocks/code_block_types.hpp>

namespace kelvane::detail {

// Runs a wrapper's work on its own copy of the executer, so that work which replaces the block's
// executer does not destroy the function while it runs. What the work throws becomes its error
// result: code blocks report errors, they never throw them.
inline std::any runExecuter(CodeBlockExecuter executer, const std::any& input) {
    if (!executer) {
        return {};
    }
    try {
        return executer(input);
    } catch (...) {
        return std::current_exception();
    }
}

}  // namespace kelvane::detail
