#pragma once

// Folder events. Payload events are made only with their one constructor, which sets every field;
// the fields stay public and may be changed at any time (an absent value is null or empty), and
// the description shows them as they are when asked. Events hold their folders strongly.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/core/ref.hpp>
#include <kelvane/events/event.hpp>
#include <kelvane/model/folder.hpp>

namespace kelvane {

/// Request: open `folder`. Described as "UIOpenFolderEvent; folder = Optional(<Kelvane.Folder:
/// 0x…>);".
class UIOpenFolderEvent final : public Event {
  public:
    UIOpenFolderEvent(std::shared_ptr<Object> sender, Ref<Folder> folder);
    std::string description() const override;

    std::shared_ptr<Folder> folder;
};

/// Request: add a folder. No payload.
class UIAddFolderEvent final : public Event {
  public:
    using Event::Event;
};

/// Notice: `newFolder` was added at `position`. Described as "FolderDidAddEvent; newFolder =
/// Optional(<Kelvane.Folder: 0x…>); Optional(2);" (the position without label).
class FolderDidAddEvent final : public Event {
  public:
    FolderDidAddEvent(std::shared_ptr<Object> sender, Ref<Folder> newFolder, std::int64_t position);
    std::string description() const override;

    std::shared_ptr<Folder> newFolder;
    std::optional<std::int64_t> position;
};

/// Notice: `folder` was removed from `position`. Described as "FolderDidRemoveEvent; folder =
/// Optional(<Kelvane.Folder: 0x…>); Optional(2);" (the position without label).
class FolderDidRemoveEvent final : public Event {
  public:
    FolderDidRemoveEvent(std::shared_ptr<Object> sender, Ref<Folder> folder, std::int64_t position);
    std::string description() const override;

    std::shared_ptr<Folder> folder;
    std::optional<std::int64_t> position;
};

/// Request: create a folder named `folderName` (which may be absent). Described as
/// "UICreateNewFolderEvent; Optional(\"Work\");" or "UICreateNewFolderEvent; nil;".
class UICreateNewFolderEvent final : public Event {
  public:
    UICreateNewFolderEvent(std::shared_ptr<Object> sender, std::optional<std::string> folderName);
    std::string description() const override;

    std::optional<std::string> folderName;
};

/// Request: remove `folder` (which may be null). Described as "UIRemoveFolderEvent;
/// Optional(<Kelvane.Folder: 0x…>);" or "UIRemoveFolderEvent; nil;".
class UIRemoveFolderEvent final : public Event {
  public:
    UIRemoveFolderEvent(std::shared_ptr<Object> sender, std::shared_ptr<Folder> folder);
    std::string description() const override;

    std::shared_ptr<Folder> folder;
};

}  // namespace kelvane
