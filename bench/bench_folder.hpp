#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace bench {

// A fresh folder per benchmark, removed afterwards. The documents folder points at it before the
// shared log is first used, so that no benchmark touches the real documents folder.
class BenchFolder {
  public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
        ::setenv("XDG_DOCUMENTS_DIR", path_.c_str(), 1);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace bench
