#pragma once

// The framework entry and the component registry.

#include <kelvane/framework/component_manager.hpp>
#include <kelvane/framework/installable_component.hpp>
#include <kelvane/framework/velmora_base_framework.hpp>
