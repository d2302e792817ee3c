#include <cmath>
#include <cstdio>

#include <kelvane/core/printed.hpp>

namespace kelvane {

void appendQuoted(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size() + 2);
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\'':
                out += "\\'";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\0':
                out += "\\0";
                break;
            default: {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7F) {
                    char buffer[12];
                    std::snprintf(buffer, sizeof buffer, "\\u{%x}", static_cast<unsigned>(byte));
                    out += buffer;
                } else {
                    out += c;
                }
            }
        }
    }
    out += '"';
}

void detail::appendFloating(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    out += text;
    // Whole numbers keep a fractional part, so that 2.0 does not read as the integer 2.
    if (text.find_first_of(".en") == std::string_view::npos) {
        out += ".0";
    }
}

void detail::appendInstance(std::string& out, const Object* object, const std::type_info& type) {
    if (object != nullptr) {
        out += object->description();
    } else {
        out += qualifiedTypeName(type);
    }
}

}  // namespace kelvane
