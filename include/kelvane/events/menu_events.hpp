#pragma once

// Menu and export events. None carries a payload: each can be made without sender or with one,
// and describes itself by its class name ("UIOpenMenuEvent").

#include <kelvane/events/event.hpp>

namespace kelvane {

/// Request: open the menu.
class UIOpenMenuEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: close the menu.
class UICloseMenuEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: open the user's conversations.
class UIOpenMyConversationsEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: open the trash.
class UIOpenTrashEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: open the settings.
class UIOpenSettingsEvent final : public Event {
  public:
    using Event::Event;
};

/// Notice: exported files are ready.
class ExportFilesDidReady final : public Event {
  public:
    using Event::Event;
};

}  // namespace kelvane
