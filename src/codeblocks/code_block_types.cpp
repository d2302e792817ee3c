#include <kelvane/codeblocks/code_block_types.hpp>

namespace kelvane {

std::exception_ptr codeBlockError(const std::any& result) noexcept {
    const auto* error = std::any_cast<std::exception_ptr>(&result);
    return error != nullptr ? *error : nullptr;
}

}  // namespace kelvane
