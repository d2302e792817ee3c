#pragma once

#include <kelvane/platform/object.hpp>

namespace kelvane::platform {

/// The event that a touch belongs to. Headless: it carries nothing; hit tests take it only
/// because the platform's do.
class UIEvent : public Object {};

}  // namespace kelvane::platform
