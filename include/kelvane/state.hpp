#pragma once

// The application state: the state records, the actions that change them and the shared store
// that logs every dispatch.
#include <kelvane/state/app_state.hpp>
#include <kelvane/state/app_store.hpp>
#include <kelvane/state/folder_actions.hpp>
#include <kelvane/state/folder_state.hpp>
#include <kelvane/state/recording_actions.hpp>
#include <kelvane/state/recording_state.hpp>
#include <kelvane/state/test_actions.hpp>
#include <kelvane/state/ui_test_entry.hpp>
#include <kelvane/state/ui_test_state.hpp>
#include <kelvane/state/velmora_state.hpp>
