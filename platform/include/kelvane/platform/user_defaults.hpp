#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

namespace kelvane::platform {

/// A persistent key-value store of small values, kept in a JSON object in one file.
///
/// Changes are held in memory and written by `synchronize()`, atomically (a temporary file
/// renamed over the old one), so a crash never leaves a half-written file. A missing or damaged
/// file reads as empty and never stops the program. Safe to use from several threads.
class UserDefaults {
  public:
    using Value = std::variant<bool, std::int64_t, double, std::string>;

    /// The standard defaults of the process: `$XDG_CONFIG_HOME/kelvane/user-defaults.json`, else
    /// `$HOME/.config/kelvane/user-defaults.json`, located and read on first use.
    static UserDefaults& standard();

    /// Defaults kept in `file`, read now.
    explicit UserDefaults(std::filesystem::path file);
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    std::optional<Value> objectForKey(const std::string& key) const;
    void setObject(Value value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    /// The value as a number: an integer or floating value, or a text that is wholly a number.
    /// Absent when there is no value or it does not convert.
    std::optional<double> doubleForKey(const std::string& key) const;

    /// The value as an integer: an integer, a whole floating value in range, or a text that is
    /// wholly an integer. Absent when there is no value or it does not convert.
    std::optional<std::int64_t> integerForKey(const std::string& key) const;

    /// Writes the values to the file. Returns false when the file could not be written (the
    /// values stay in memory).
    bool synchronize();

    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    mutable std::mutex mutex_;
    std::mutex fileMutex_;  // one synchronize() at a time writes the file
    std::map<std::string, Value> values_;
};

}  // namespace kelvane::platform
