#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include <kelvane/platform/user_defaults.hpp>

namespace kelvane::platform {

namespace {

// Reads the flat JSON object the defaults are kept in: string keys, values that are texts,
// numbers or truth values. Anything else makes the whole file count as damaged.
class FlatJsonReader {
  public:
    explicit FlatJsonReader(std::string_view text) : text_(text) {}

    std::optional<std::map<std::string, UserDefaults::Value>> read() {
        std::map<std::string, UserDefaults::Value> values;
        skipSpace();
        if (!consume('{')) {
            return std::nullopt;
        }
        skipSpace();
        if (consume('}')) {
            return finish(values);
        }
        for (;;) {
            skipSpace();
            auto key = readString();
            skipSpace();
            if (!key || !consume(':')) {
                return std::nullopt;
            }
            skipSpace();
            if (!readValueInto(values, *key)) {
                return std::nullopt;
            }
            skipSpace();
            if (consume('}')) {
                return finish(values);
            }
            if (!consume(',')) {
                return std::nullopt;
            }
        }
    }

  private:
    std::optional<std::map<std::string, UserDefaults::Value>> finish(
        std::map<std::string, UserDefaults::Value>& values) {
        skipSpace();
        if (pos_ != text_.size()) {
            return std::nullopt;
        }
        return std::move(values);
    }

    bool readValueInto(std::map<std::string, UserDefaults::Value>& values, const std::string& key) {
        if (peek() == '"') {
            auto text = readString();
            if (!text) {
                return false;
            }
            values[key] = std::move(*text);
            return true;
        }
        if (matchWord("true")) {
            values[key] = true;
            return true;
        }
        if (matchWord("false")) {
            values[key] = false;
            return true;
        }
        if (matchWord("null")) {
            return true;  // written for values JSON cannot hold; read as absent
        }
        return readNumberInto(values, key);
    }

    bool readNumberInto(std::map<std::string, UserDefaults::Value>& values,
                        const std::string& key) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view("+-0123456789.eE").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
        const std::string_view number = text_.substr(start, pos_ - start);
        if (number.empty()) {
            return false;
        }
        if (number.find_first_of(".eE") == std::string_view::npos) {
            std::int64_t integer = 0;
            const auto result =
                std::from_chars(number.data(), number.data() + number.size(), integer);
            if (result.ec == std::errc() && result.ptr == number.data() + number.size()) {
                values[key] = integer;
                return true;
            }
        }
        double floating = 0;
        const auto result = std::from_chars(number.data(), number.data() + number.size(), floating);
        if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
            return false;
        }
        values[key] = floating;
        return true;
    }

    std::optional<std::string> readString() {
        if (!consume('"')) {
            return std::nullopt;
        }
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return out;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                return std::nullopt;
            }
            switch (const char e = text_[pos_++]) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    auto code = readHex4();
                    if (!code) {
                        return std::nullopt;
                    }
                    if (*code >= 0xD800 && *code < 0xDC00) {
                        if (!consume('\\') || !consume('u')) {
                            return std::nullopt;
                        }
                        const auto low = readHex4();
                        if (!low || *low < 0xDC00 || *low >= 0xE000) {
                            return std::nullopt;
                        }
                        *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
                    } else if (*code >= 0xDC00 && *code < 0xE000) {
                        return std::nullopt;
                    }
                    appendUtf8(out, *code);
                    break;
                }
                default:
                    (void)e;
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<std::uint32_t> readHex4() {
        if (pos_ + 4 > text_.size()) {
            return std::nullopt;
        }
        std::uint32_t code = 0;
        const auto result = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16);
        if (result.ec != std::errc() || result.ptr != text_.data() + pos_ + 4) {
            return std::nullopt;
        }
        pos_ += 4;
        return code;
    }

    static void appendUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool matchWord(std::string_view word) {
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return true;
        }
        return false;
    }

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    bool consume(char c) {
        if (peek() == c && pos_ < text_.size()) {
            ++pos_;
            return true;
        }
        return false;
    }

    void skipSpace() {
        while (pos_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

void writeJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
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
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(c)));
                    out += buffer;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void writeJsonValue(std::string& out, const UserDefaults::Value& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        out += *flag ? "true" : "false";
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        out += std::to_string(*integer);
    } else if (const auto* floating = std::get_if<double>(&value)) {
        if (!std::isfinite(*floating)) {
            out += "null";
            return;
        }
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *floating);
        std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
        out += text;
        // Keeps a whole floating value floating when read back.
        if (text.find_first_of(".e") == std::string_view::npos) {
            out += ".0";
        }
    } else {
        writeJsonString(out, std::get<std::string>(value));
    }
}

std::filesystem::path standardFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config != nullptr && *config != '\0') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : ".") / ".config";
    }
    return base / "kelvane" / "user-defaults.json";
}

template <class Number>
std::optional<Number> parseWhole(const std::string& text) {
    Number number{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults(standardFile());
    return defaults;
}

UserDefaults::UserDefaults(std::filesystem::path file) : file_(std::move(file)) {
    std::ifstream in(file_, std::ios::binary);
    if (!in) {
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (auto values = FlatJsonReader(text).read()) {
        values_ = std::move(*values);
    }
}

std::optional<UserDefaults::Value> UserDefaults::objectForKey(const std::string& key) const {
    const std::lock_guard lock(mutex_);
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void UserDefaults::setObject(Value value, const std::string& key) {
    const std::lock_guard lock(mutex_);
    values_[key] = std::move(value);
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    const std::lock_guard lock(mutex_);
    values_.erase(key);
}

std::optional<double> UserDefaults::doubleForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    if (!value) {
        return std::nullopt;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&*value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* floating = std::get_if<double>(&*value)) {
        return *floating;
    }
    if (const auto* text = std::get_if<std::string>(&*value)) {
        return parseWhole<double>(*text);
    }
    return std::nullopt;
}

std::optional<std::int64_t> UserDefaults::integerForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    if (!value) {
        return std::nullopt;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&*value)) {
        return *integer;
    }
    if (const auto* floating = std::get_if<double>(&*value)) {
        // Only whole values inside the integer range convert; 2^63 itself does not.
        constexpr double kLimit = 9223372036854775808.0;
        if (std::isfinite(*floating) && std::trunc(*floating) == *floating &&
            *floating >= -kLimit && *floating < kLimit) {
            return static_cast<std::int64_t>(*floating);
        }
        return std::nullopt;
    }
    if (const auto* text = std::get_if<std::string>(&*value)) {
        return parseWhole<std::int64_t>(*text);
    }
    return std::nullopt;
}

bool UserDefaults::synchronize() {
    std::string json = "{";
    {
        const std::lock_guard lock(mutex_);
        bool first = true;
        for (const auto& [key, value] : values_) {
            json += first ? "\n  " : ",\n  ";
            first = false;
            writeJsonString(json, key);
            json += ": ";
            writeJsonValue(json, value);
        }
    }
    json += "\n}\n";

    const std::lock_guard fileLock(fileMutex_);
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    const std::filesystem::path temporary = file_.string() + ".tmp-" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(json.data(), static_cast<std::streamsize>(json.size())) ||
            !out.flush()) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, file_, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace kelvane::platform
