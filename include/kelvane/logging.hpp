#pragma once

// The logging subsystem: the static logger and `logw`.

#include <kelvane/logging/logger.hpp>
