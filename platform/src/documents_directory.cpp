#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include <kelvane/platform/documents_directory.hpp>

namespace kelvane::platform {

namespace {

std::string nonEmptyVariable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string accountHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

std::string documentsDirectory() {
    std::filesystem::path folder = nonEmptyVariable("XDG_DOCUMENTS_DIR");
    if (!folder.is_absolute()) {
        // A relative value would depend on the working folder: ignored, as for the other XDG
        // folders.
        std::filesystem::path home = nonEmptyVariable("HOME");
        if (home.empty()) {
            home = accountHome();
        }
        if (home.empty()) {
            return {};
        }
        folder = home / "Documents";
    }
    std::string text = folder.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    std::error_code ignored;
    std::filesystem::create_directories(text, ignored);
    return text;
}

}  // namespace kelvane::platform
