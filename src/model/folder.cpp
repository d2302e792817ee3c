#include <utility>

#include <kelvane/model/folder.hpp>

namespace kelvane {

Folder::Folder() : name_("Default Folder") {}

Folder::Folder(std::string name) : name_(std::move(name)) {}

}  // namespace kelvane
