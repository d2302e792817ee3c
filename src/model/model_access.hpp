#pragma once

// The framework's write access to the model fields that host code may only read. The reducers
// change recordings and recording-list contexts in place through these; host code has only the
// public readers, since this header is not installed.
//
//     detail::ModelAccess::sentences(recording).push_back(sentence);
//     detail::ModelAccess::isSelectionMode(context) = true;

#include <kelvane/model/recording.hpp>
#include <kelvane/model/recording_list_context.hpp>
#include <kelvane/model/tarray.hpp>

namespace kelvane::detail {

struct ModelAccess {
    // Each returns the field itself, to assign or to change in place.
    static std::optional<std::string>& title(Recording& recording) { return recording.title_; }
    static std::optional<std::int64_t>& duration(Recording& recording) {
        return recording.duration_;
    }
    static std::optional<std::string>& resourcePath(Recording& recording) {
        return recording.resourcePath_;
    }
    static std::vector<Ref<Sentence>>& sentences(Recording& recording) {
        return recording.sentences_;
    }
    static std::optional<Recording::Date>& dateCreated(Recording& recording) {
        return recording.dateCreated_;
    }
    static std::vector<std::string>& keywords(Recording& recording) { return recording.keywords_; }
    static bool& selected(Recording& recording) { return recording.selected_; }
    static std::weak_ptr<Folder>& parentFolder(Recording& recording) {
        return recording.parentFolder_;
    }

    static std::vector<Ref<Recording>>& recordings(RecordingListContext& context) {
        return context.recordings_;
    }
    static bool& isSelectionMode(RecordingListContext& context) { return context.isSelectionMode_; }

    // A list's elements, read in place; changes go through the list's own operations.
    template <class T>
    static const std::vector<typename TArray<T>::Element>& items(const TArray<T>& list) {
        return list.items_;
    }
};

}  // namespace kelvane::detail
