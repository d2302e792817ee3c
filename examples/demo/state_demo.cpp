// A recording session through the shared store: folders and a recording list, then a recording
// with sentences, words, an attachment, a highlight and a title. A subscriber prints every state
// it receives; the log echoes each dispatch line above it.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/platform/documents_directory.hpp>
#include <kelvane/state.hpp>
#include <kelvane/store/store_subscriber.hpp>

#include "demo.hpp"

namespace {

using kelvane::makeRef;
using kelvane::printed;
using kelvane::Ref;

class StatePrinter final : public kelvane::StoreSubscriber<kelvane::AppState> {
  public:
    void newState(const kelvane::AppState& state) override {
        const auto& folders = state.folderState();
        const auto& recording = state.recording();
        std::string current = "none";
        if (const auto& now = recording.currentRecording()) {
            std::size_t words = 0;
            for (const auto& sentence : now->sentences()) {
                words += sentence->words.size();
            }
            current = "title " + printed(now->title()) + ", " +
                      std::to_string(now->sentences().size()) + " sentence(s), " +
                      std::to_string(words) + " word(s)";
        }
        std::printf(
            "  state: %lld folder(s), %zu open list(s), recording %s%s, volume %lld, duration "
            "%lld, current: %s\n",
            static_cast<long long>(folders.folders()->count()),
            folders.recordingListContexts().size(), recording.isRecordingStart() ? "on" : "off",
            recording.isPause() ? " (paused)" : "", static_cast<long long>(recording.volume()),
            static_cast<long long>(recording.duration()), current.c_str());
    }
};

}  // namespace

void demo::runStateDemo() {
    section("state");
    const auto store = kelvane::store();  // made here, on first access: its StoreInit line above
    const auto printer = std::make_shared<StatePrinter>();
    store->subscribe(printer);  // receives the current state at once

    const auto inbox = makeRef<kelvane::Folder>("Inbox");
    const auto interviews = makeRef<kelvane::Folder>("Interviews");
    store->dispatch(kelvane::FoldersLoadedAction({inbox}));
    store->dispatch(kelvane::AddFolderAction(interviews, 1));

    const auto earlier = makeRef<kelvane::Recording>();
    const auto list =
        makeRef<kelvane::RecordingListContext>(interviews, std::vector<Ref<kelvane::Recording>>{});
    store->dispatch(kelvane::OpenNewRecordingListAction(list));
    store->dispatch(
        kelvane::UpdateRecordingListAction(list, std::vector<Ref<kelvane::Recording>>{earlier}));
    store->dispatch(kelvane::OpenNewRecordingListAction(list));  // already open: logged, ignored

    store->dispatch(kelvane::StartRecordingAction());
    store->dispatch(kelvane::UpdateRecordingStateAction(38, 1500));
    store->dispatch(kelvane::AddRecordingSentenceAction(std::make_shared<kelvane::Sentence>(0)));
    store->dispatch(kelvane::AddRecordingWordAction(std::make_shared<kelvane::Word>(0, "Good")));
    store->dispatch(
        kelvane::AddRecordingWordAction(std::make_shared<kelvane::Word>(300, "morning")));
    store->dispatch(kelvane::AddRecordingAttachmentAction(makeRef<kelvane::Attachment>("photo-1")));
    store->dispatch(kelvane::HighlightRecordingSentenceAction(0, true));
    store->dispatch(kelvane::HighlightRecordingSentenceAction(7, true));  // no such sentence
    store->dispatch(kelvane::PauseRecordingAction());
    store->dispatch(kelvane::ResumeRecordingAction());
    store->dispatch(kelvane::UpdateRecordingTitleAction("Morning interview"));

    const auto recorded = store->state()->recording().currentRecording();
    store->dispatch(kelvane::AddRecordingToFolderAction(interviews.shared(), recorded));
    store->dispatch(kelvane::StopRecordingAction());

    std::printf("the list of %s now holds %s\n", interviews->name().c_str(),
                printed(list->recordings()).c_str());
    std::printf("the recorded sentence is highlighted: %s, its attachments: %s\n",
                printed(recorded->sentences().front()->isHighlight).c_str(),
                printed(recorded->sentences().front()->attachments).c_str());
    store->unsubscribe(printer);
    std::printf("every dispatch line is in the log file under %s/Logs\n",
                kelvane::platform::documentsDirectory().c_str());
}
