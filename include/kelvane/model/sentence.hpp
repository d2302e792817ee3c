#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/model/attachment.hpp>
#include <kelvane/model/word.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

/// One sentence of a recording's transcript: its timed words and its attachments. Storage only:
/// every field is public and freely writable, with no checks. The recording reducer appends to
/// `words` and `attachments` and sets `isHighlight` in place, so every holder of the sentence sees
/// those changes. Compared by identity; prints as `<Kelvane.Sentence: 0x…>`.
class Sentence final : public Object {
  public:
    explicit Sentence(std::int64_t time) : time(time) {}

    std::optional<std::int64_t> time;
    std::vector<Ref<Word>> words;
    std::vector<Ref<Attachment>> attachments;
    bool isHighlight = false;
};

}  // namespace kelvane
