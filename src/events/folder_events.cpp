#include <utility>

#include <kelvane/events/folder_events.hpp>

#include "events/event_description.hpp"

namespace kelvane {

using detail::describe;

UIOpenFolderEvent::UIOpenFolderEvent(std::shared_ptr<Object> sender, Ref<Folder> folder)
    : Event(std::move(sender)), folder(std::move(folder)) {}

std::string UIOpenFolderEvent::description() const {
    return describe(*this, "; folder = ", folder, ";");
}

FolderDidAddEvent::FolderDidAddEvent(std::shared_ptr<Object> sender, Ref<Folder> newFolder,
                                     std::int64_t position)
    : Event(std::move(sender)), newFolder(std::move(newFolder)), position(position) {}

std::string FolderDidAddEvent::description() const {
    return describe(*this, "; newFolder = ", newFolder, "; ", position, ";");
}

FolderDidRemoveEvent::FolderDidRemoveEvent(std::shared_ptr<Object> sender, Ref<Folder> folder,
                                           std::int64_t position)
    : Event(std::move(sender)), folder(std::move(folder)), position(position) {}

std::string FolderDidRemoveEvent::description() const {
    return describe(*this, "; folder = ", folder, "; ", position, ";");
}

UICreateNewFolderEvent::UICreateNewFolderEvent(std::shared_ptr<Object> sender,
                                               std::optional<std::string> folderName)
    : Event(std::move(sender)), folderName(std::move(folderName)) {}

std::string UICreateNewFolderEvent::description() const {
    return describe(*this, "; ", folderName, ";");
}

UIRemoveFolderEvent::UIRemoveFolderEvent(std::shared_ptr<Object> sender,
                                         std::shared_ptr<Folder> folder)
    : Event(std::move(sender)), folder(std::move(folder)) {}

std::string UIRemoveFolderEvent::description() const {
    return describe(*this, "; ", folder, ";");
}

}  // namespace kelvane
