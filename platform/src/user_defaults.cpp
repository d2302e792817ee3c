#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include <kelvane/platform/detail/never_destroyed.hpp>
#include <kelvane/platform/user_defaults.hpp>

#include <nlohmann/json.hpp>

#include "detail/write_all.hpp"

namespace kelvane::platform {

namespace {

using Values = std::map<std::string, UserDefaults::Value>;

// What is at the path of a defaults file.
enum class Target { missing, regularFile, unusable };

// Looks before it opens, so that a FIFO or a device is never opened at all; the descriptor, opened
// without blocking, is checked again, in case the path was swapped meanwhile.
Target openForReading(const std::filesystem::path& path, int& file, mode_t& mode) {
    file = -1;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? Target::missing : Target::unusable;
    }
    if (!S_ISREG(status.st_mode)) {
        return Target::unusable;
    }
    file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) {
        return errno == ENOENT ? Target::missing : Target::unusable;
    }
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        file = -1;
        return Target::unusable;
    }
    mode = status.st_mode & 07777;
    return Target::regularFile;
}

// The whole file, or nothing when it is not a readable regular file.
std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    int file = -1;
    mode_t mode = 0;
    if (openForReading(path, file, mode) != Target::regularFile) {
        return std::nullopt;
    }
    std::string text;
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(file, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(file);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(file);
    return text;
}

// The flat object of texts, numbers and truth values; nothing when the text is anything else.
// A null reads as absent (it stands for a number JSON cannot hold).
std::optional<Values> parseValues(const std::string& text) {
    const auto json = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!json.is_object()) {
        return std::nullopt;
    }
    Values values;
    for (const auto& [key, value] : json.items()) {
        switch (value.type()) {
            case nlohmann::json::value_t::null:
                break;
            case nlohmann::json::value_t::boolean:
                values[key] = value.get<bool>();
                break;
            case nlohmann::json::value_t::string:
                values[key] = value.get<std::string>();
                break;
            case nlohmann::json::value_t::number_integer:
                values[key] = value.get<std::int64_t>();
                break;
            case nlohmann::json::value_t::number_unsigned: {
                // Integers above the signed range are kept as floating values.
                const auto number = value.get<std::uint64_t>();
                if (number <=
                    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
                    values[key] = static_cast<std::int64_t>(number);
                } else {
                    values[key] = static_cast<double>(number);
                }
                break;
            }
            case nlohmann::json::value_t::number_float:
                if (!std::isfinite(value.get<double>())) {
                    return std::nullopt;  // a number too large for a double
                }
                values[key] = value.get<double>();
                break;
            default:
                return std::nullopt;  // nested objects and lists have no place here
        }
    }
    return values;
}

std::string formatValues(const Values& values) {
    nlohmann::json json = nlohmann::json::object();
    for (const auto& [key, value] : values) {
        std::visit([&json, &key](const auto& held) { json[key] = held; }, value);
    }
    // Floating values that are not finite become null; bytes that are not UTF-8 become U+FFFD.
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

// Writes `text` to a temporary file of its own beside `path` and renames it over `path`, so that a
// reader sees the old file or the new one, whole, however many writers there are. `mode` is given
// to the new file (that of the file it replaces); without one it stays private to the user.
bool replaceFile(const std::filesystem::path& path, std::string_view text,
                 std::optional<mode_t> mode) {
    std::string temporary = path.string() + ".tmp-XXXXXX";
    const int file = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    bool written =
        (!mode || ::fchmod(file, *mode) == 0) && detail::writeAll(file, text) == text.size();
    // On disk before the rename, so that a crash cannot leave an empty file in the old one's place.
    written = written && ::fsync(file) == 0;
    written = ::close(file) == 0 && written;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
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
    // Never destroyed: screens still alive at exit read and write it too.
    static detail::NeverDestroyed<UserDefaults> defaults(standardFile());
    return *defaults;
}

UserDefaults::UserDefaults(std::filesystem::path file) : file_(std::move(file)) {
    if (const auto text = readWholeFile(file_)) {
        if (auto values = parseValues(*text)) {
            values_ = std::move(*values);
        }
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
    // Held from the snapshot to the rename, so that this instance's writes land in their order.
    const std::lock_guard fileLock(fileMutex_);
    std::string text;
    {
        const std::lock_guard lock(mutex_);
        text = formatValues(values_);
    }

    std::error_code ignored;
    std::filesystem::create_directories(file_.parent_path(), ignored);
    int existing = -1;
    mode_t mode = 0;
    switch (openForReading(file_, existing, mode)) {
        case Target::missing:
            return replaceFile(file_, text, std::nullopt);
        case Target::regularFile:
            ::close(existing);
            return replaceFile(file_, text, mode);
        case Target::unusable:
            break;
    }
    // Whatever is there was not read, so it is not replaced either.
    return false;
}

}  // namespace kelvane::platform
