#pragma once

// The developer test screens: the test root screen with its cell, and the sample screen that
// shows how a screen uses the shared store.

#include <kelvane/testscreens/how_to_use_state_in_ui_table_view.hpp>
#include <kelvane/testscreens/ui_test_root_view_controller.hpp>
#include <kelvane/testscreens/ui_test_root_view_table_view_cell.hpp>
