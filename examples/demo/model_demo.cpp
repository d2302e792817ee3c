// The domain model as a host application sees it: folders in an identity-compared list, an open
// recording list of a folder, and the sentences of a transcript with their words and attachments.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/model.hpp>

#include "demo.hpp"

namespace {

using kelvane::printed;

std::shared_ptr<kelvane::Sentence> sentence(std::int64_t time,
                                            const std::vector<std::string>& words) {
    auto made = std::make_shared<kelvane::Sentence>(time);
    for (const auto& word : words) {
        made->words.push_back(std::make_shared<kelvane::Word>(time, word));
        time += 300;
    }
    return made;
}

}  // namespace

void demo::runModelDemo() {
    section("model");
    auto interviews = std::make_shared<kelvane::Folder>("Interviews");
    auto folders = kelvane::makeRef<kelvane::TArray<kelvane::Folder>>();
    folders->append(std::make_shared<kelvane::Folder>());
    folders->insert(interviews, 0);
    folders->insert(std::make_shared<kelvane::Folder>("never added"),
                    7);  // outside the range: no change
    std::printf("folders %s: %lld\n", printed(folders).c_str(),
                static_cast<long long>(folders->count()));
    for (std::int64_t i = 0; i < folders->count(); ++i) {
        std::printf("  [%lld] %s named %s\n", static_cast<long long>(i),
                    printed((*folders)[i]).c_str(), printed((*folders)[i]->name()).c_str());
    }
    std::printf(
        "a second \"Interviews\" folder is found at: %s\n",
        printed(folders->firstIndex(std::make_shared<kelvane::Folder>("Interviews"))).c_str());

    auto recording = std::make_shared<kelvane::Recording>();
    auto context = std::make_shared<kelvane::RecordingListContext>(
        interviews, std::vector<kelvane::Ref<kelvane::Recording>>{recording});
    std::printf("context %s of %s holds %s, selection mode %s\n", context->description().c_str(),
                printed(context->folder()).c_str(), printed(context->recordings()).c_str(),
                printed(context->isSelectionMode()).c_str());
    std::printf("recording: title %s, sentences %s, selected %s, parent folder %s\n",
                printed(recording->title()).c_str(), printed(recording->sentences()).c_str(),
                printed(recording->selected()).c_str(), printed(recording->parentFolder()).c_str());

    // Sentences are the host's to build; the store's recording reducer appends them to the
    // current recording when they are dispatched.
    const auto first = sentence(0, {"Good", "morning"});
    first->attachments.push_back(std::make_shared<kelvane::Attachment>("photo-1"));
    const auto second = sentence(1200, {"Shall", "we", "start?"});
    second->isHighlight = true;
    for (const auto& each : {first, second}) {
        std::printf("sentence %s at %s, highlighted %s\n", each->description().c_str(),
                    printed(each->time).c_str(), printed(each->isHighlight).c_str());
        for (const auto& word : each->words) {
            std::printf("  word %s: %s at %s\n", word->description().c_str(),
                        printed(word->str).c_str(), printed(word->time).c_str());
        }
        std::printf("  attachments %s\n", printed(each->attachments).c_str());
    }
}
