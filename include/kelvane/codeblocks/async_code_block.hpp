#pragma once

#include <any>

#include <kelvane/codeblocks/code_block_types.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

/// A unit of work passed around as an object, reporting its outcome through a success or an error
/// callback. Subclasses override `execute`; this class's own `execute` does nothing.
///
/// Both callbacks are public fields that may be replaced at any time; an empty one is absent. A
/// block holds its callbacks strongly and nothing else, and runs everything on the caller's thread
/// before `execute` returns; it is not synchronised.
class AsyncCodeBlock : public Object {
  public:
    /// Both callbacks absent.
    AsyncCodeBlock() = default;
    AsyncCodeBlock(CodeBlockSuccessHandler onSuccess, CodeBlockErrorHandler onError);

    /// Does the work for `input` (empty when there is none) and reports through the callbacks.
    /// Does nothing in this class.
    virtual void execute(const std::any& input);

    CodeBlockSuccessHandler onSuccess;
    CodeBlockErrorHandler onError;
};

}  // namespace kelvane
