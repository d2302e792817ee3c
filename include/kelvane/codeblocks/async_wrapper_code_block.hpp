#pragma once

#include <any>

#include <kelvane/codeblocks/async_code_block.hpp>
#include <kelvane/codeblocks/code_block_types.hpp>

namespace kelvane {

/// An AsyncCodeBlock that runs a stored function and routes its result to a callback.
///
/// A run applies `wrapperExecuter` to the input (absent result when there is no executer). A
/// result holding an error value goes to `onError` and never to `onSuccess`, even when `onError`
/// is absent; what the executer throws counts as its error result. Any other result, absent
/// included, goes to `onSuccess`. The callbacks are read once the executer has returned (so work
/// that sets one affects the same run), at most one of them is called, once, and a callback may
/// replace or clear the block's fields, or release the block, while it runs. What a callback
/// throws reaches the caller of `execute`. The executer itself must not release the last owner of
/// the block: the callbacks are read from the block after it returns. Made only with an executer:
/// the callbacks are set afterwards through their fields.
class AsyncWrapperCodeBlock : public AsyncCodeBlock {
  public:
    /// Both callbacks absent; `executer` may be empty (absent).
    explicit AsyncWrapperCodeBlock(CodeBlockExecuter executer);

    void execute(const std::any& input) override;

    CodeBlockExecuter wrapperExecuter;
};

}  // namespace kelvane
