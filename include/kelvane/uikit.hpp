#pragma once

// The view extensions: the `Kelvane` style properties of views, buttons, labels, text fields and
// image views (typed, and by name), and the enlarged-touch button.

#include <kelvane/uikit/button_style.hpp>
#include <kelvane/uikit/dk_button.hpp>
#include <kelvane/uikit/image_view_style.hpp>
#include <kelvane/uikit/label_style.hpp>
#include <kelvane/uikit/style_value.hpp>
#include <kelvane/uikit/text_field_style.hpp>
#include <kelvane/uikit/view_style.hpp>
