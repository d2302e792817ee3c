#pragma once

// The generic state store: actions, reducers, middleware and subscriptions.
#include <kelvane/store/action.hpp>
#include <kelvane/store/assertions.hpp>
#include <kelvane/store/state_type.hpp>
#include <kelvane/store/store.hpp>
#include <kelvane/store/store_subscriber.hpp>
#include <kelvane/store/store_type.hpp>
#include <kelvane/store/subscription.hpp>
#include <kelvane/store/synchronized.hpp>
