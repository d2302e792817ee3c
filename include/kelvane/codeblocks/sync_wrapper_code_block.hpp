#pragma once

#include <any>

#include <kelvane/codeblocks/code_block_types.hpp>
#include <kelvane/codeblocks/sync_code_block.hpp>

namespace kelvane {

/// A SyncCodeBlock that runs a stored function: `execute` returns `wrapperExecuter` applied to the
/// input, unchanged (an error value included; see codeBlockError), or the absent value when there
/// is no executer. What the executer throws is returned as its error value, not thrown. Made only
/// with an executer.
class SyncWrapperCodeBlock : public SyncCodeBlock {
  public:
    /// `executer` may be empty (absent).
    explicit SyncWrapperCodeBlock(CodeBlockExecuter executer);

    std::any execute(const std::any& input) override;

    CodeBlockExecuter wrapperExecuter;
};

}  // namespace kelvane
