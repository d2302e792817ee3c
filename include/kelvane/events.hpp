#pragma once

// The event bus: the event centre, the handler interface and the catalogue of events.

#include <kelvane/events/event.hpp>
#include <kelvane/events/event_center.hpp>
#include <kelvane/events/event_handler.hpp>
#include <kelvane/events/folder_events.hpp>
#include <kelvane/events/menu_events.hpp>
#include <kelvane/events/recording_events.hpp>
