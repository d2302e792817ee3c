#pragma once

#include <string>

#include <kelvane/platform/object.hpp>

namespace kelvane {

/// A named folder of recordings. Which recordings it shows lives in the recording-list contexts
/// whose `folder()` it is; the folder itself holds only its name, which never changes. Compared by
/// identity (two folders with one name are two folders); prints as `<Kelvane.Folder: 0x…>`.
class Folder final : public Object {
  public:
    /// A folder named "Default Folder".
    Folder();
    /// A folder named `name`, the empty string included.
    explicit Folder(std::string name);

    const std::string& name() const noexcept { return name_; }

  private:
    std::string name_;
};

}  // namespace kelvane
