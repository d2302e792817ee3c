#pragma once

// The descriptions of the catalogue's payload events: the class name, then literal pieces and
// field values in their printed form, as each class's format lists them.
//
//     describe(*this, "; newFolder = ", newFolder, "; ", position, ";")
//         -> FolderDidAddEvent; newFolder = Optional(<Kelvane.Folder: 0x…>); Optional(2);

#include <string>
#include <string_view>
#include <type_traits>

#include <kelvane/core/printed.hpp>
#include <kelvane/events/event.hpp>

namespace kelvane::detail {

template <class... Parts>
std::string describe(const Event& event, const Parts&... parts) {
    std::string text = event.Event::description();
    const auto append = [&text](const auto& part) {
        // The fields are optionals and shared pointers, never plain texts, so a text here is
        // always one of the format's literal pieces.
        if constexpr (std::is_convertible_v<decltype(part), std::string_view>) {
            text += std::string_view(part);
        } else {
            appendPrinted(text, part);
        }
    };
    (append(parts), ...);
    return text;
}

}  // namespace kelvane::detail
