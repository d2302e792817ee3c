#pragma once

// A fresh temporary folder per test, made HOME (and the documents and config folders under it)
// for the test's duration, so that tests touching files never share a folder and `ctest -j` is
// safe. Free of GoogleTest, so that a program of its own may use it too.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "scoped_environment.hpp"

namespace kelvane::testing {

class TempHome {
  public:
    TempHome() = default;

    ~TempHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path documents() const { return path_ / "Documents"; }

  private:
    static std::filesystem::path makeFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        return pattern;
    }

    std::filesystem::path path_ = makeFolder();
    ScopedEnvironment home_{"HOME", path_.string()};
    ScopedEnvironment documents_{"XDG_DOCUMENTS_DIR", std::nullopt};
    ScopedEnvironment config_{"XDG_CONFIG_HOME", std::nullopt};
};

}  // namespace kelvane::testing
