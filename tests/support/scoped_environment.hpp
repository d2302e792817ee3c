#pragma once

// Sets one environment variable for a scope and puts the earlier value back afterwards.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace kelvane::testing {

class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)) {
        if (const char* earlier = std::getenv(name_.c_str())) {
            earlier_ = earlier;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(earlier_); }

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const std::optional<std::string>& value) const {
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

  private:
    std::string name_;
    std::optional<std::string> earlier_;
};

}  // namespace kelvane::testing
