#pragma once

// A fresh temporary folder per test, made HOME (and the documents and config folders under it)
// for the test's duration, so that tests touching files never share a folder and `ctest -j` is
// safe.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace kelvane::testing {

class TempHome {
  public:
    TempHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary folder";
        }
        path_ = pattern;
        remember("HOME");
        remember("XDG_DOCUMENTS_DIR");
        remember("XDG_CONFIG_HOME");
        ::setenv("HOME", path_.c_str(), 1);
        ::unsetenv("XDG_DOCUMENTS_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
    }

    ~TempHome() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path documents() const { return path_ / "Documents"; }

  private:
    void remember(const char* name) {
        const char* value = std::getenv(name);
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

    std::filesystem::path path_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace kelvane::testing
