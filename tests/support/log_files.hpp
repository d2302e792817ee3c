#pragma once

// Reading log files back in tests: whole contents, the numbered files of a folder, the date texts
// that lines written in a span of time may carry, and the messages of a file's lines.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <kelvane/platform/date_formatter.hpp>

#include "logging/log.hpp"

namespace kelvane::testing {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary) << content;
}

/// The shared log with its first-use settings, in the documents folder of the current HOME, echo
/// off. Each test runs in its own process, so this matters only when a test program runs whole.
inline Log& resetSharedLog() {
    Log& log = sharedLog();
    log.setDirectory(Log::defaultLogDirectory());
    log.setName("logfile");
    log.setMaxFileSize(1024);
    log.setMaxFileCount(4);
    log.setPrintToConsole(false);
    return log;
}

/// The contents of the files "<name>-<i>.log" in `folder`, by number.
inline std::map<std::int64_t, std::string> numberedFiles(const std::filesystem::path& folder,
                                                         const std::string& name) {
    std::map<std::int64_t, std::string> files;
    const std::string prefix = name + "-";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(prefix) && file.ends_with(".log")) {
            const std::string number = file.substr(prefix.size(), file.size() - prefix.size() - 4);
            files[std::stoll(number)] = readFile(entry.path());
        }
    }
    return files;
}

/// The date texts of every whole second from `from` to `to`, as log lines show them.
inline std::set<std::string> dateTextsBetween(std::chrono::system_clock::time_point from,
                                              std::chrono::system_clock::time_point to) {
    const platform::DateFormatter formatter;
    std::set<std::string> texts;
    for (auto second = std::chrono::floor<std::chrono::seconds>(from); second <= to;
         second += std::chrono::seconds(1)) {
        texts.insert(formatter.stringFromDate(second));
    }
    return texts;
}

/// The message of `entry` when it is "[" + date + "]: " + message with one of `dates`.
inline std::optional<std::string> messageOf(std::string_view entry,
                                            const std::set<std::string>& dates) {
    const auto end = entry.find("]: ");
    if (!entry.starts_with('[') || end == std::string_view::npos ||
        !dates.contains(std::string(entry.substr(1, end - 1)))) {
        return std::nullopt;
    }
    return std::string(entry.substr(end + 3));
}

/// The messages of the lines of `file` written since `since`, in order; a line without a date
/// of that span shows as "not a log line: " + the line.
inline std::vector<std::string> messagesIn(const std::filesystem::path& file,
                                           std::chrono::system_clock::time_point since) {
    const auto dates = dateTextsBetween(since, std::chrono::system_clock::now());
    std::vector<std::string> messages;
    std::istringstream lines(readFile(file));
    for (std::string line; std::getline(lines, line);) {
        messages.push_back(messageOf(line, dates).value_or("not a log line: " + line));
    }
    return messages;
}

}  // namespace kelvane::testing
