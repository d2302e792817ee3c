#include <utility>

#include <kelvane/codeblocks/sync_wrapper_code_block.hpp>

#include "codeblocks/run_executer.hpp"

namespace kelvane {

SyncWrapperCodeBlock::SyncWrapperCodeBlock(CodeBlockExecuter executer)
    : wrapperExecuter(std::move(executer)) {}

std::any SyncWrapperCodeBlock::execute(const std::any& input) {
    return detail::runExecuter(wrapperExecuter, input);
}

}  // namespace kelvane
