#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

namespace kelvane::platform {

/// A persistent key-value store of small values, kept in a flat JSON object in one file: texts
/// (UTF-8; bytes that are not are written as U+FFFD), integers, floating values and truth values.
///
/// Changes are held in memory and written by `synchronize()`: each write goes to a temporary file
/// of its own beside the file and is renamed over it, so a crash never leaves a half-written file
/// and any number of instances and processes may write the same file: a reader always finds one
/// whole earlier write (the last rename wins). A missing or damaged file reads as empty; anything
/// else at the path (a folder, a FIFO, a device, a file that cannot be read) reads as empty too,
/// without blocking, and is never replaced. Nothing throws. Safe to use from several threads.
class UserDefaults {
  public:
    using Value = std::variant<bool, std::int64_t, double, std::string>;

    /// The standard defaults of the process: `$XDG_CONFIG_HOME/kelvane/user-defaults.json`, else
    /// `$HOME/.config/kelvane/user-defaults.json`, located and read on first use. Never
    /// destroyed, so code running at exit may still use it; as at any other time, only
    /// `synchronize()` writes the file.
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

    /// Writes the values to the file. Returns false when it could not be written, or when what is
    /// at the path is not a readable regular file; the values stay in memory and no temporary
    /// file is left behind.
    bool synchronize();

    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    mutable std::mutex mutex_;
    std::mutex fileMutex_;  // one synchronize() at a time writes the file
    std::map<std::string, Value> values_;
};

}  // namespace kelvane::platform
