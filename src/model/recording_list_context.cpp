#include <utility>

#include <kelvane/model/recording_list_context.hpp>

namespace kelvane {

RecordingListContext::RecordingListContext(Ref<Folder> folder,
                                           std::vector<Ref<Recording>> recordings)
    : folder_(std::move(folder)), recordings_(std::move(recordings)) {}

}  // namespace kelvane
