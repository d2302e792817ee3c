#pragma once

// The headless user-interface stand-ins: geometry, colours, images, layers, views, controls,
// view controllers, tables, gestures, nibs and bundles.

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/ca_layer.hpp>
#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/index_path.hpp>
#include <kelvane/platform/ns_attributed_string.hpp>
#include <kelvane/platform/ui_button.hpp>
#include <kelvane/platform/ui_color.hpp>
#include <kelvane/platform/ui_control.hpp>
#include <kelvane/platform/ui_event.hpp>
#include <kelvane/platform/ui_gesture_recognizer.hpp>
#include <kelvane/platform/ui_image.hpp>
#include <kelvane/platform/ui_image_view.hpp>
#include <kelvane/platform/ui_label.hpp>
#include <kelvane/platform/ui_nib.hpp>
#include <kelvane/platform/ui_pan_gesture_recognizer.hpp>
#include <kelvane/platform/ui_table_view.hpp>
#include <kelvane/platform/ui_table_view_cell.hpp>
#include <kelvane/platform/ui_table_view_data_source.hpp>
#include <kelvane/platform/ui_table_view_delegate.hpp>
#include <kelvane/platform/ui_text_field.hpp>
#include <kelvane/platform/ui_view.hpp>
#include <kelvane/platform/ui_view_controller.hpp>
