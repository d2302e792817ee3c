#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include <kelvane/platform/object.hpp>

namespace kelvane {

/// One timed word of a sentence's transcript. Storage only: every field is public and freely
/// writable, with no checks; the framework never changes a word after construction and attaches
/// no unit to `time`. Compared by identity; prints as `<Kelvane.Word: 0x…>`.
class Word final : public Object {
  public:
    Word(std::int64_t time, std::string str) : time(time), str(std::move(str)) {}

    std::optional<std::int64_t> time;
    std::optional<std::string> str;
    bool isHighlight = false;
};

}  // namespace kelvane
