#pragma once

#include <optional>
#include <string>
#include <utility>

#include <kelvane/platform/object.hpp>

namespace kelvane {

/// Something attached to a sentence (a photo, a note), named by the host application's `id`.
/// Storage only: the field is public and freely writable; the framework never changes it.
/// Compared by identity; prints as `<Kelvane.Attachment: 0x…>`.
class Attachment final : public Object {
  public:
    explicit Attachment(std::string id) : id(std::move(id)) {}

    std::optional<std::string> id;
};

}  // namespace kelvane
