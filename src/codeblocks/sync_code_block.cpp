#include <kelvane/codeblocks/sync_code_block.hpp>

namespace kelvane {

std::any SyncCodeBlock::execute(const std::any& /*input*/) {
    return {};
}

}  // namespace kelvane
