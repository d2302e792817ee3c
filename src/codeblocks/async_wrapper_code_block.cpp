#include <utility>

#include <kelvane/codeblocks/async_wrapper_code_block.hpp>

#include "codeblocks/run_executer.hpp"

namespace kelvane {

AsyncWrapperCodeBlock::AsyncWrapperCodeBlock(CodeBlockExecuter executer)
    : wrapperExecuter(std::move(executer)) {}

void AsyncWrapperCodeBlock::execute(const std::any& input) {
    const std::any result = detail::runExecuter(wrapperExecuter, input);
    // The callback runs from a copy, and `this` is not touched after it: the callback may replace
    // the field or release the last owner of the block.
    if (std::exception_ptr error = codeBlockError(result)) {
        if (const CodeBlockErrorHandler handler = onError) {
            handler(std::move(error));
        }
        return;
    }
    if (const CodeBlockSuccessHandler handler = onSuccess) {
        handler(result);
    }
}

}  // namespace kelvane
