#pragma once

#include <any>

#include <kelvane/codeblocks/code_block_types.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

/// A unit of work passed around as an object that returns its result. Subclasses override
/// `execute`; this class's own returns the absent value for any input. Runs on the caller's thread.
class SyncCodeBlock : public Object {
  public:
    SyncCodeBlock() = default;

    /// The result of the work for `input` (empty when there is none); absent in this class.
    virtual std::any execute(const std::any& input);
};

}  // namespace kelvane
