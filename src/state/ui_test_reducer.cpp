#include <kelvane/state/test_actions.hpp>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::StateAccess;

namespace {

// One overload per action of the test catalogue (see UITestActions).
struct UITestStep {
    UITestState& state;

    void operator()(const UITestAddTestEntry& add) const {
        if (add.testEntry) {
            StateAccess::allTestEntriesToChange(state).emplace_back(add.testEntry);
        }
    }
    void operator()(const UITestOpenTestEntry& open) const {
        StateAccess::lastActiavedTestEntry(state) = open.testEntry;
    }
};

}  // namespace

void detail::reduceUITest(const ActionCase& found, UITestState& state) {
    visitCase<UITestActions>(found, UITestStep{state});
}

UITestState uiTestReducer(const Action& action, const std::optional<UITestState>& state) {
    return detail::reduceOnItsOwn(action, state, detail::reduceUITest);
}

}  // namespace kelvane
