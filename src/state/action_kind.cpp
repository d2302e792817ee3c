#include "state/action_kind.hpp"

#include <array>
#include <cstddef>
#include <mutex>
#include <shared_mutex>
#include <tuple>
#include <typeinfo>
#include <unordered_map>

#include <kelvane/state/folder_actions.hpp>
#include <kelvane/state/recording_actions.hpp>
#include <kelvane/state/test_actions.hpp>

namespace kelvane::detail {

namespace {

template <class Type, ActionKind kind>
struct Case {
    using ActionType = Type;
    static constexpr ActionKind value = kind;
};

// The cases in the reducers' order. Every type but the two class actions is final, so for all
// the others the exact dynamic type is the only one that matches.
using Cases =
    std::tuple<Case<TestAction, ActionKind::TestAction>,
               Case<UpdateTestNumber, ActionKind::UpdateTestNumber>,
               Case<UITestAddTestEntry, ActionKind::UITestAddTestEntry>,
               Case<UITestOpenTestEntry, ActionKind::UITestOpenTestEntry>,
               Case<FoldersLoadedAction, ActionKind::FoldersLoaded>,
               Case<AddFolderAction, ActionKind::AddFolder>,
               Case<RemoveFolderAction, ActionKind::RemoveFolder>,
               Case<OpenNewRecordingListAction, ActionKind::OpenNewRecordingList>,
               Case<CloseRecordingListAction, ActionKind::CloseRecordingList>,
               Case<SetRecordingListSelectionAction, ActionKind::SetRecordingListSelection>,
               Case<SetRecordingSelectedAction, ActionKind::SetRecordingSelected>,
               Case<UpdateRecordingListAction, ActionKind::UpdateRecordingList>,
               Case<AddRecordingToFolderAction, ActionKind::AddRecordingToFolder>,
               Case<RemoveRecordingAction, ActionKind::RemoveRecording>,
               Case<PauseRecordingAction, ActionKind::PauseRecording>,
               Case<ResumeRecordingAction, ActionKind::ResumeRecording>,
               Case<StopRecordingAction, ActionKind::StopRecording>,
               Case<StartRecordingAction, ActionKind::StartRecording>,
               Case<UpdateRecordingStateAction, ActionKind::UpdateRecordingState>,
               Case<HighlightRecordingAction, ActionKind::HighlightRecording>,
               Case<HighlightRecordingSentenceAction, ActionKind::HighlightRecordingSentence>,
               Case<UpdateRecordingTitleAction, ActionKind::UpdateRecordingTitle>,
               Case<AddRecordingSentenceAction, ActionKind::AddRecordingSentence>,
               Case<AddRecordingWordAction, ActionKind::AddRecordingWord>,
               Case<AddRecordingAttachmentAction, ActionKind::AddRecordingAttachment>,
               Case<RemoveRecordingAttachmentAction, ActionKind::RemoveRecordingAttachment>,
               Case<SelectRecordingAttachmentAction, ActionKind::SelectRecordingAttachment>,
               Case<ShareRecordingAction, ActionKind::ShareRecording>>;

template <class... Each>
ActionKind firstCastMatch(const Action& action, std::tuple<Each...>* /*cases*/) {
    ActionKind found = ActionKind::None;
    // Stops at the first match, as the reducers' chains did.
    (void)((dynamic_cast<const typename Each::ActionType*>(&action) != nullptr
                ? (found = Each::value, true)
                : false) ||
           ...);
    return found;
}

std::size_t slotOf(const std::type_info* type, std::size_t mask) {
    // type_info objects are aligned, so the low bits carry nothing; a multiplicative hash spreads
    // the rest.
    const auto bits = reinterpret_cast<std::uintptr_t>(type) >> 4;
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> 32) & mask;
}

// The known types by the address of their type_info: an open-addressed table, filled once and
// read-only afterwards, so lookups need no synchronisation.
class KnownTypes {
  public:
    KnownTypes() { add(static_cast<Cases*>(nullptr)); }

    // The kind of `type`; false when it is not a known type's type_info object.
    bool find(const std::type_info* type, ActionKind& kind) const {
        for (std::size_t slot = slotOf(type, kMask);; slot = (slot + 1) & kMask) {
            if (types_[slot] == type) {
                kind = kinds_[slot];
                return true;
            }
            if (types_[slot] == nullptr) {
                return false;
            }
        }
    }

  private:
    static constexpr std::size_t kSlots = 128;  // over four times the cases: short probes
    static constexpr std::size_t kMask = kSlots - 1;
    static_assert(std::tuple_size_v<Cases> * 2 < kSlots);

    template <class... Each>
    void add(std::tuple<Each...>* /*cases*/) {
        (insert(&typeid(typename Each::ActionType), Each::value), ...);
    }

    void insert(const std::type_info* type, ActionKind kind) {
        std::size_t slot = slotOf(type, kMask);
        while (types_[slot] != nullptr) {
            slot = (slot + 1) & kMask;
        }
        types_[slot] = type;
        kinds_[slot] = kind;
    }

    std::array<const std::type_info*, kSlots> types_{};
    std::array<ActionKind, kSlots> kinds_{};
};

// What the cast chain found for other types, remembered per type_info object. Different stores
// may dispatch on different threads, hence the lock; only unknown types come here.
class OtherTypes {
  public:
    ActionKind kindOf(const Action& action) {
        const std::type_info* const type = &typeid(action);
        {
            const std::shared_lock lock(mutex_);
            if (const auto found = kinds_.find(type); found != kinds_.end()) {
                return found->second;
            }
        }
        const ActionKind kind = actionKindByCasts(action);
        const std::lock_guard lock(mutex_);
        kinds_.emplace(type, kind);
        return kind;
    }

  private:
    std::shared_mutex mutex_;
    std::unordered_map<const std::type_info*, ActionKind> kinds_;
};

}  // namespace

ActionKind actionKindByCasts(const Action& action) {
    return firstCastMatch(action, static_cast<Cases*>(nullptr));
}

ActionKind actionKind(const Action& action) {
    static const KnownTypes known;
    ActionKind kind = ActionKind::None;
    if (known.find(&typeid(action), kind)) {
        return kind;
    }
    // Never destroyed: stores may still dispatch while the process exits.
    static auto* const others = new OtherTypes();
    return others->kindOf(action);
}

}  // namespace kelvane::detail
