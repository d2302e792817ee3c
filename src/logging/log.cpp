#include "logging/log.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include <kelvane/platform/detail/never_destroyed.hpp>
#include <kelvane/platform/documents_directory.hpp>

#include "detail/write_all.hpp"

namespace kelvane {

namespace {

constexpr std::uint64_t bytesPerKibibyte = 1024;
// A line buffer grown by one huge message is given back instead of being kept for ever.
constexpr std::size_t keptLineCapacity = 64 * 1024;

bool exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

// Moves like the platform's file manager does: never over an existing file, so that a failed
// step of a cascade cannot make a later step overwrite an older log.
void moveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if ((errno == EINVAL || errno == ENOSYS) && !exists(to)) {
        // The file system cannot refuse a replacement itself; the check above is the next best.
        ::rename(from.c_str(), to.c_str());
    }
}

// Cuts the fragment of a line that was written only in part off again, so that the next line
// starts on a line of its own; `end` is the file's offset after the fragment, `written` its size.
// It cuts only while the file still ends where the fragment ends: what another process appended
// meanwhile stays, and so does the fragment then. (Another append between the size query and the
// cut is not seen; no lock is shared with other writers.)
void cutOwnFragment(int file, off_t end, std::size_t written) {
    struct stat status {};
    if (end < 0 || ::fstat(file, &status) != 0 || status.st_size != end) {
        return;
    }
    // Nothing more can be done if even that fails.
    [[maybe_unused]] const int cut = ::ftruncate(file, end - static_cast<off_t>(written));
}

}  // namespace

Log& sharedLog() {
    static platform::detail::NeverDestroyed<Log> log;
    return *log;
}

Log::Log() : directory_(defaultLogDirectory()) {
    updateCurrentLogPath();
}

std::string Log::defaultLogDirectory() {
    const std::string documents = platform::documentsDirectory();
    if (documents.empty()) {
        return {};
    }
    std::string path = (documents == "/" ? std::string() : documents) + "/Logs";
    if (!exists(path)) {
        ::mkdir(path.c_str(), 0777);
    }
    return path;
}

std::uint64_t Log::maxFileSize() const {
    const std::lock_guard lock(mutex_);
    return maxFileSize_;
}

void Log::setMaxFileSize(std::uint64_t kibibytes) {
    const std::lock_guard lock(mutex_);
    maxFileSize_ = kibibytes;
}

std::int64_t Log::maxFileCount() const {
    const std::lock_guard lock(mutex_);
    return maxFileCount_;
}

void Log::setMaxFileCount(std::int64_t count) {
    const std::lock_guard lock(mutex_);
    maxFileCount_ = count;
}

std::string Log::directory() const {
    const std::lock_guard lock(mutex_);
    return directory_;
}

void Log::setDirectory(std::string directory) {
    const std::lock_guard lock(mutex_);
    directory_ = std::move(directory);
    updateCurrentLogPath();
}

std::string Log::currentLogPath() const {
    const std::lock_guard lock(mutex_);
    return currentLogPath_;
}

std::string Log::name() const {
    const std::lock_guard lock(mutex_);
    return name_;
}

void Log::setName(std::string name) {
    const std::lock_guard lock(mutex_);
    name_ = std::move(name);
    updateCurrentLogPath();
}

bool Log::printToConsole() const {
    const std::lock_guard lock(mutex_);
    return printToConsole_;
}

void Log::setPrintToConsole(bool print) {
    const std::lock_guard lock(mutex_);
    printToConsole_ = print;
}

std::string Log::filePath(std::int64_t fileNumber) const {
    return directory_ + "/" + name_ + "-" + std::to_string(fileNumber) + ".log";
}

void Log::updateCurrentLogPath() {
    currentLogPath_ = filePath(0);
}

std::optional<std::uint64_t> Log::rotationLimit() const {
    if (maxFileSize_ == 0 || maxFileCount_ <= 0 ||
        maxFileSize_ > std::numeric_limits<std::uint64_t>::max() / bytesPerKibibyte) {
        return std::nullopt;
    }
    return maxFileSize_ * bytesPerKibibyte;
}

void Log::write(std::string_view message) {
    const std::lock_guard lock(mutex_);
    if (directory_.empty()) {
        return;
    }
    // Opening with O_CREAT makes a missing file 0 in the same step; O_APPEND keeps lines whole
    // even when another process appends to the same file.
    const int file =
        ::open(currentLogPath_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) {
        return;
    }
    const std::string& date = lineDate_.textFor(std::chrono::system_clock::now());
    line_.clear();
    line_.reserve(date.size() + message.size() + 5);
    line_.append("[").append(date).append("]: ").append(message).append("\n");
    const std::size_t written = platform::detail::writeAll(file, line_);
    const bool whole = written == line_.size();
    if (!whole && written > 0) {
        // A line is in the file whole or not at all. Appending leaves the offset after this
        // process's own bytes, wherever others have appended since.
        cutOwnFragment(file, ::lseek(file, 0, SEEK_CUR), written);
    }

    const auto limit = rotationLimit();
    struct stat status {};
    const bool sized = whole && limit && ::fstat(file, &status) == 0;
    ::close(file);

    if (whole && printToConsole_) {
        std::fwrite(line_.data(), 1, line_.size(), stdout);
    }
    if (line_.capacity() > keptLineCapacity) {
        std::string().swap(line_);
    }
    if (sized && static_cast<std::uint64_t>(status.st_size) >= *limit) {
        rotateLocked();
    }
}

void Log::rotateIfNeeded() {
    const std::lock_guard lock(mutex_);
    const auto limit = rotationLimit();
    struct stat status {};
    if (limit && ::stat(currentLogPath_.c_str(), &status) == 0 &&
        static_cast<std::uint64_t>(status.st_size) >= *limit) {
        rotateLocked();
    }
}

void Log::rotateLocked() {
    renameLocked(0);
    ::unlink(filePath(maxFileCount_).c_str());
}

void Log::rename(std::int64_t fileNumber) {
    const std::lock_guard lock(mutex_);
    renameLocked(fileNumber);
}

void Log::renameLocked(std::int64_t fileNumber) {
    if (fileNumber < 0 || fileNumber == std::numeric_limits<std::int64_t>::max()) {
        return;
    }
    // The run of existing files above fileNumber ends below `end`; move it up highest first, then
    // fileNumber itself, so that every move lands on a free number.
    std::int64_t end = fileNumber + 1;
    while (end < std::numeric_limits<std::int64_t>::max() && exists(filePath(end))) {
        ++end;
    }
    for (std::int64_t number = end - 1; number >= fileNumber; --number) {
        moveWithoutReplacing(filePath(number), filePath(number + 1));
    }
}

}  // namespace kelvane
