#include <utility>

#include <kelvane/codeblocks/async_code_block.hpp>

namespace kelvane {

AsyncCodeBlock::AsyncCodeBlock(CodeBlockSuccessHandler onSuccess, CodeBlockErrorHandler onError)
    : onSuccess(std::move(onSuccess)), onError(std::move(onError)) {}

void AsyncCodeBlock::execute(const std::any& /*input*/) {}

}  // namespace kelvane
