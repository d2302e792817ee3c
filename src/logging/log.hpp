#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include <kelvane/platform/detail/never_destroyed.hpp>

#include "logging/line_date.hpp"

namespace kelvane {

class Log;

/// The process's one log, made on first use (from any thread, once) with the defaults below; its
/// folder is computed, and created when missing, at that moment. Never destroyed, so code running
/// at exit may still log.
Log& sharedLog();

/// The framework's log: one dated line per message, appended to file 0 of a run of numbered files
/// `<directory>/<name>-<i>.log` in the documents folder's "Logs", rotated by size. Only
/// `sharedLog()` makes one.
///
/// Line: "[" + date + "]: " + message + "\n", the date in medium date and time style of the current
/// locale and time zone (a change of `TZ` or of ICU's default locale shows from the next line on,
/// see `LineDate`); the message is written as it is, line feeds included. While `printToConsole`
/// is on, the same bytes go to standard output.
///
/// Rotation: when file 0 has reached `maxFileSize` KiB (at least, not more than) and both settings
/// are above 0, files i -> i+1 from the highest of the run that starts at 0, then file
/// `maxFileCount` is deleted; the next line starts file 0 afresh.
///
/// Failures are swallowed: a line that cannot be written whole (no file, a full disk, the file size
/// limit) is lost, leaving no fragment behind, no echo and no rotation; the next line is written as
/// usual. Only when another process appended after the fragment before it could be cut does the
/// fragment stay: the other process's bytes are never cut. A failed move or deletion leaves the
/// rotation where it got, and a move never replaces an existing file. An empty `directory` names no
/// folder: lines are lost rather than written to "/".
///
/// Threads: every operation holds one lock, so lines from several threads land whole, each once,
/// in the order they took the lock, and a rotation never runs beside a write.
class Log {
  public:
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    /// Size limit of file 0 in KiB (default 1024); 0 means no limit, and so does a value whose
    /// byte count does not fit in 64 bits.
    std::uint64_t maxFileSize() const;
    void setMaxFileSize(std::uint64_t kibibytes);

    /// Number of the file that a rotation deletes (default 4), so files 0 to `maxFileCount` - 1
    /// remain; 0 or below means no rotation.
    std::int64_t maxFileCount() const;
    void setMaxFileCount(std::int64_t count);

    /// Folder of the log files, without a trailing "/" (default `defaultLogDirectory()`).
    std::string directory() const;
    void setDirectory(std::string directory);

    /// The path of file 0, the one written to.
    std::string currentLogPath() const;

    /// Base name of the log files (default "logfile").
    std::string name() const;
    void setName(std::string name);

    /// Whether every line is echoed to standard output (default true).
    bool printToConsole() const;
    void setPrintToConsole(bool print);

    /// Appends one line for `message` to file 0 (creating it when missing), echoes it, then checks
    /// the rotation. The line is in the file when this returns.
    void write(std::string_view message);

    /// Rotates when file 0 has reached the size limit (see above); an unreadable size counts as 0.
    void rotateIfNeeded();

    /// Moves file `fileNumber` up by one, after moving the run of existing files above it up by
    /// one, highest first. A negative number, or the highest one, names no file: nothing happens.
    void rename(std::int64_t fileNumber);

    /// "Logs" in the documents folder, created (without parents) when missing; returned even when
    /// that fails. Empty when there is no documents folder.
    static std::string defaultLogDirectory();

  private:
    Log();
    friend class platform::detail::NeverDestroyed<Log>;  // the one of sharedLog()

    // The helpers below expect the lock to be held.
    std::string filePath(std::int64_t fileNumber) const;
    void updateCurrentLogPath();
    std::optional<std::uint64_t> rotationLimit() const;  // in bytes; none when rotation is off
    void rotateLocked();
    void renameLocked(std::int64_t fileNumber);

    mutable std::mutex mutex_;
    std::uint64_t maxFileSize_ = 1024;
    std::int64_t maxFileCount_ = 4;
    std::string directory_;
    std::string name_ = "logfile";
    bool printToConsole_ = true;

    std::string currentLogPath_;
    std::string line_;  // kept so that a line's text reuses its storage
    LineDate lineDate_;
};

}  // namespace kelvane
