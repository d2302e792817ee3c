#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/sentence.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace detail {
struct ModelAccess;
}  // namespace detail

/// One audio recording and its transcript, as a list of sentences.
///
/// Every field is readable by anyone and written only by the framework (the store's reducers set
/// the title, append sentences and set `selected`, in place), so a host application fills a
/// recording by dispatching actions. Readers return copies: changing a list read from a recording
/// does not change the recording, while the sentences in it are the shared objects. Compared by
/// identity; prints as `<Kelvane.Recording: 0x…>`. Not synchronised: keep it on the thread that
/// dispatches actions.
class Recording final : public Object {
  public:
    using Date = std::chrono::system_clock::time_point;

    /// A recording without title, duration, resource path, sentences or keywords, not selected,
    /// without parent folder, created now.
    Recording();

    std::optional<std::string> title() const { return title_; }
    /// In the host application's unit; the framework stores what it is given.
    std::optional<std::int64_t> duration() const { return duration_; }
    std::optional<std::string> resourcePath() const { return resourcePath_; }
    std::vector<Ref<Sentence>> sentences() const { return sentences_; }
    std::optional<Date> dateCreated() const { return dateCreated_; }
    std::vector<std::string> keywords() const { return keywords_; }
    bool selected() const noexcept { return selected_; }
    /// The folder the recording belongs to, held weakly: null once that folder has been destroyed.
    std::shared_ptr<Folder> parentFolder() const { return parentFolder_.lock(); }

  private:
    friend struct detail::ModelAccess;

    std::optional<std::string> title_;
    std::optional<std::int64_t> duration_;
    std::optional<std::string> resourcePath_;
    std::vector<Ref<Sentence>> sentences_;
    std::optional<Date> dateCreated_;
    std::vector<std::string> keywords_;
    bool selected_ = false;
    std::weak_ptr<Folder> parentFolder_;
};

}  // namespace kelvane
