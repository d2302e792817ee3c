// The event centre: registration states, delivery, the send line, calls from inside a handler,
// handlers that throw, and what it keeps alive.
#include <algorithm>
#include <functional>
#include <memory>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <kelvane/events/event_center.hpp>
#include <kelvane/events/folder_events.hpp>
#include <kelvane/events/menu_events.hpp>
#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "event_test_support.hpp"
#include "events/event_center_access.hpp"

namespace {

using kelvane::Event;
using kelvane::EventCenter;
using kelvane::EventHandler;
using kelvane::identityOf;
using kelvane::makeRef;
using kelvane::Object;
using kelvane::Ref;
using kelvane::UICloseMenuEvent;
using kelvane::UIOpenMenuEvent;
using kelvane::detail::EventCenterAccess;
using kelvane::testing::EventTest;
using kelvane::testing::Journal;
using kelvane::testing::JournalHandler;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// --- Registration states -------------------------------------------------------------------------

// One call of a registration case: handler h1 or h2, object a or b.
struct Call {
    enum Kind { Add, Bind, Remove, Unbind } kind;
    int handler;
    char object = ' ';
};

// A registration as the case expects it: handler, bound or not, its objects in order.
struct Expected {
    int eventHandler;
    bool isBinded;
    std::string bindToObjects;
};

struct RegistrationCase {
    const char* name;
    std::vector<Call> calls;
    std::vector<Expected> registrations;  // in delivery order
};

void PrintTo(const RegistrationCase& c, std::ostream* out) {
    *out << c.name;
}

class Registration : public EventTest, public ::testing::WithParamInterface<RegistrationCase> {};

TEST_P(Registration, FollowsTheStateTable) {
    const std::vector<Ref<EventHandler>> handlers{handler("h0"), handler("h1"), handler("h2")};
    const Ref<Object> a = makeRef<Object>();
    const Ref<Object> b = makeRef<Object>();
    const auto object = [&](char name) { return name == 'a' ? a : b; };

    for (const Call& call : GetParam().calls) {
        const Ref<EventHandler>& h = handlers[static_cast<std::size_t>(call.handler)];
        switch (call.kind) {
            case Call::Add:
                center->addEventHandler(h);
                break;
            case Call::Bind:
                center->addEventHandler(object(call.object), h);
                break;
            case Call::Remove:
                center->removeEventHandler(h);
                break;
            case Call::Unbind:
                center->removeEventHandler(object(call.object), h);
                break;
        }
    }

    std::vector<EventCenterAccess::Registration> expected;
    for (const Expected& e : GetParam().registrations) {
        EventCenterAccess::Registration registration{
            identityOf(handlers[static_cast<std::size_t>(e.eventHandler)].get()), e.isBinded, {}};
        for (const char name : e.bindToObjects) {
            registration.bindToObjects.push_back(identityOf(object(name).get()));
        }
        expected.push_back(registration);
    }
    EXPECT_EQ(EventCenterAccess::registrations(*center), expected);
}

constexpr auto Add = Call::Add;
constexpr auto Bind = Call::Bind;
constexpr auto Remove = Call::Remove;
constexpr auto Unbind = Call::Unbind;
constexpr bool unbound = false;
constexpr bool bound = true;

INSTANTIATE_TEST_SUITE_P(
    EventCenter, Registration,
    ::testing::Values(
        RegistrationCase{"NotRegisteredAddIsUnbound", {{Add, 1}}, {{1, unbound, ""}}},
        RegistrationCase{"NotRegisteredBindIsBound", {{Bind, 1, 'a'}}, {{1, bound, "a"}}},
        RegistrationCase{"UnboundAddChangesNothing", {{Add, 1}, {Add, 1}}, {{1, unbound, ""}}},
        RegistrationCase{"UnboundBindListsTheObjectOnce",
                         {{Add, 1}, {Bind, 1, 'a'}, {Bind, 1, 'a'}},
                         {{1, unbound, "a"}}},
        RegistrationCase{"UnboundUnbindingItsLastObjectStaysRegistered",
                         {{Add, 1}, {Bind, 1, 'a'}, {Unbind, 1, 'a'}},
                         {{1, unbound, ""}}},
        RegistrationCase{"BoundAddChangesNothing", {{Bind, 1, 'a'}, {Add, 1}}, {{1, bound, "a"}}},
        RegistrationCase{"BoundBindAppendsNewObjectsOnly",
                         {{Bind, 1, 'a'}, {Bind, 1, 'b'}, {Bind, 1, 'a'}},
                         {{1, bound, "ab"}}},
        RegistrationCase{"BoundUnbindRemovesOneObject",
                         {{Bind, 1, 'a'}, {Bind, 1, 'b'}, {Unbind, 1, 'a'}},
                         {{1, bound, "b"}}},
        RegistrationCase{
            "BoundUnbindingItsLastObjectUnregisters", {{Bind, 1, 'a'}, {Unbind, 1, 'a'}}, {}},
        RegistrationCase{"UnboundRemoveUnregisters", {{Add, 1}, {Bind, 1, 'a'}, {Remove, 1}}, {}},
        RegistrationCase{"BoundRemoveUnregistersWhateverItsObjects",
                         {{Bind, 1, 'a'}, {Bind, 1, 'b'}, {Remove, 1}},
                         {}},
        RegistrationCase{"RemovingOrUnbindingWhatIsNotThereChangesNothing",
                         {{Remove, 1}, {Unbind, 1, 'a'}, {Bind, 2, 'a'}, {Unbind, 2, 'b'}},
                         {{2, bound, "a"}}},
        RegistrationCase{"RegisteringAgainComesLast",
                         {{Bind, 1, 'a'}, {Add, 2}, {Unbind, 1, 'a'}, {Bind, 1, 'a'}},
                         {{2, unbound, ""}, {1, bound, "a"}}},
        RegistrationCase{"RemovalKeepsTheOthersInOrder",
                         {{Add, 0}, {Bind, 1, 'a'}, {Add, 2}, {Remove, 1}},
                         {{0, unbound, ""}, {2, unbound, ""}}}),
    kelvane::testing::caseName);

// --- Delivery ------------------------------------------------------------------------------------

class EventCenterTest : public EventTest {};

TEST_F(EventCenterTest, UnboundHandlersReceiveEveryEventOnceAndBoundOnesTheirSendersOnly) {
    const auto a = makeRef<Object>();
    const auto b = makeRef<Object>();
    const auto stranger = makeRef<Object>();
    center->addEventHandler(handler("all"));
    center->addEventHandler(a, handler("a"));
    center->addEventHandler(a, handler("a-too"));
    const auto ab = handler("ab");
    center->addEventHandler(a, ab);
    center->addEventHandler(b, ab);
    const auto unboundListingA = handler("all-listing-a");
    center->addEventHandler(unboundListingA);
    center->addEventHandler(a, unboundListingA);

    center->send(std::make_shared<UIOpenMenuEvent>(a));
    center->send(std::make_shared<UIOpenMenuEvent>(b));
    center->send(std::make_shared<UIOpenMenuEvent>(stranger));
    center->send(std::make_shared<UICloseMenuEvent>());

    EXPECT_THAT(*journal,
                ElementsAre("all:UIOpenMenuEvent", "a:UIOpenMenuEvent", "a-too:UIOpenMenuEvent",
                            "ab:UIOpenMenuEvent", "all-listing-a:UIOpenMenuEvent",  // from a
                            "all:UIOpenMenuEvent", "ab:UIOpenMenuEvent",
                            "all-listing-a:UIOpenMenuEvent",                         // from b
                            "all:UIOpenMenuEvent", "all-listing-a:UIOpenMenuEvent",  // stranger
                            "all:UICloseMenuEvent", "all-listing-a:UICloseMenuEvent"));
}

// A sender of another class that derives from Object beside another base: its identity is the
// whole object, whichever pointer it is bound or sent through.
struct Tagged {
    virtual ~Tagged() = default;
    int tag = 0;
};
struct TaggedSender final : Tagged, Object {};

TEST_F(EventCenterTest, SendersMatchByIdentityNeverByLikeness) {
    const auto sender = std::make_shared<TaggedSender>();
    const auto twin = std::make_shared<TaggedSender>();
    center->addEventHandler(std::static_pointer_cast<Object>(sender), handler("bound"));

    center->send(std::make_shared<UIOpenMenuEvent>(twin));
    center->send(std::make_shared<UIOpenMenuEvent>(sender));

    EXPECT_THAT(*journal, ElementsAre("bound:UIOpenMenuEvent"));
}

TEST_F(EventCenterTest, LogsTheSendLineBeforeAnyDeliveryAndLeavesABreadcrumb) {
    std::vector<std::string> breadcrumbs;
    kelvane::platform::Bugsnag::setBreadcrumbSink(
        [&](const std::string& message) { breadcrumbs.push_back(message); });

    center->send(std::make_shared<UIOpenMenuEvent>());
    EXPECT_THAT(logMessages(), ElementsAre("send event UIOpenMenuEvent"));
    EXPECT_THAT(breadcrumbs, IsEmpty()) << "no breadcrumb until the crash reporter is started";

    std::vector<std::string> logAtDelivery;
    center->addEventHandler(
        handler("h", [&](auto&, const auto&) { logAtDelivery = logMessages(); }));
    kelvane::Logger::setIsBugsnagInit(true);
    center->send(std::make_shared<kelvane::UIRemoveFolderEvent>(nullptr, nullptr));
    kelvane::Logger::setIsBugsnagInit(false);
    kelvane::platform::Bugsnag::setBreadcrumbSink({});

    EXPECT_THAT(logAtDelivery,
                ElementsAre("send event UIOpenMenuEvent", "send event UIRemoveFolderEvent; nil;"));
    EXPECT_THAT(breadcrumbs, ElementsAre("send event UIRemoveFolderEvent; nil;"));
}

// --- Calls from inside a handler -----------------------------------------------------------------

TEST_F(EventCenterTest, HandlersAddedDuringASendReceiveFromTheNextSendOn) {
    const auto late = handler("late");
    const auto lateBound = handler("late-bound");
    const auto sender = makeRef<Object>();
    center->addEventHandler(handler("adder", [&](auto&, const auto&) {
        center->addEventHandler(late);
        center->addEventHandler(sender, lateBound);
    }));

    center->send(std::make_shared<UIOpenMenuEvent>(sender));
    EXPECT_THAT(*journal, ElementsAre("adder:UIOpenMenuEvent"));

    journal->clear();
    center->send(std::make_shared<UICloseMenuEvent>(sender));
    EXPECT_THAT(*journal, ElementsAre("adder:UICloseMenuEvent", "late:UICloseMenuEvent",
                                      "late-bound:UICloseMenuEvent"));
}

TEST_F(EventCenterTest, HandlersRemovedDuringASendStillReceiveItAndNoLaterOne) {
    const auto doomed = handler("doomed");
    std::weak_ptr<JournalHandler> weakSelf;
    const auto self = handler("self", [&](auto&, const auto&) {
        center->removeEventHandler(doomed);
        // Registered again, it comes last from the next send on, and this send does not call it
        // a second time.
        const Ref<EventHandler> me = weakSelf.lock();
        center->removeEventHandler(me);
        center->addEventHandler(me);
    });
    weakSelf = self;
    center->addEventHandler(self);
    center->addEventHandler(handler("other"));
    center->addEventHandler(doomed);

    center->send(std::make_shared<UIOpenMenuEvent>());
    center->send(std::make_shared<UICloseMenuEvent>());

    EXPECT_THAT(*journal, ElementsAre("self:UIOpenMenuEvent", "other:UIOpenMenuEvent",
                                      "doomed:UIOpenMenuEvent", "other:UICloseMenuEvent",
                                      "self:UICloseMenuEvent"));
}

TEST_F(EventCenterTest, ANestedSendCompletesBeforeTheOuterOneGoesOn) {
    center->addEventHandler(handler("first", [&](auto&, const Ref<Event>& event) {
        if (dynamic_cast<UIOpenMenuEvent*>(event.get()) != nullptr) {
            center->send(std::make_shared<UICloseMenuEvent>());
        }
    }));
    center->addEventHandler(handler("second", [&](auto&, const Ref<Event>& event) {
        if (dynamic_cast<UICloseMenuEvent*>(event.get()) != nullptr) {
            journal->push_back("log:" + std::to_string(logMessages().size()));
        }
    }));

    center->send(std::make_shared<UIOpenMenuEvent>());

    EXPECT_THAT(*journal,
                ElementsAre("first:UIOpenMenuEvent", "first:UICloseMenuEvent",
                            "second:UICloseMenuEvent", "log:2", "second:UIOpenMenuEvent"));
    EXPECT_THAT(logMessages(),
                ElementsAre("send event UIOpenMenuEvent", "send event UICloseMenuEvent"));
}

TEST_F(EventCenterTest, ASenderChangedDuringASendDecidesTheLaterComparisons) {
    const auto a = makeRef<Object>();
    const auto b = makeRef<Object>();
    center->addEventHandler(a, handler("a-early"));
    const auto switcher =
        handler("switch", [&](auto&, const Ref<Event>& event) { event->sender = b.shared(); });
    center->addEventHandler(switcher);
    center->addEventHandler(a, handler("a-late"));
    center->addEventHandler(b, handler("b-late"));
    const auto both = handler("both", [&](auto&, const Ref<Event>& event) {
        event->sender = event->sender == a.shared() ? b.shared() : a.shared();
    });
    center->addEventHandler(a, both);
    center->addEventHandler(b, both);

    center->send(std::make_shared<UIOpenMenuEvent>(a));
    EXPECT_THAT(*journal, ElementsAre("a-early:UIOpenMenuEvent", "switch:UIOpenMenuEvent",
                                      "b-late:UIOpenMenuEvent", "both:UIOpenMenuEvent"));

    // Its own walk sees the switch it makes: matched through a, it then matches through b too.
    journal->clear();
    center->removeEventHandler(switcher);
    center->send(std::make_shared<UICloseMenuEvent>(a));
    EXPECT_THAT(*journal, ElementsAre("a-early:UICloseMenuEvent", "a-late:UICloseMenuEvent",
                                      "both:UICloseMenuEvent", "both:UICloseMenuEvent"));
}

TEST_F(EventCenterTest, ABoundHandlersObjectsCountAsTheyAreWhenItsTurnComes) {
    const auto a = makeRef<Object>();
    const auto b = makeRef<Object>();
    const auto gainsA = handler("gains-a");
    const auto losesA = handler("loses-a");
    center->addEventHandler(handler("rebinder", [&](auto&, const auto&) {
        center->addEventHandler(a, gainsA);
        center->removeEventHandler(a, losesA);
    }));
    center->addEventHandler(b, gainsA);
    center->addEventHandler(a, losesA);

    center->send(std::make_shared<UIOpenMenuEvent>(a));

    EXPECT_THAT(*journal, ElementsAre("rebinder:UIOpenMenuEvent", "gains-a:UIOpenMenuEvent"));
    EXPECT_EQ(EventCenterAccess::registrations(*center).size(), 2u) << "loses-a had only a";
}

// --- A handler that throws -----------------------------------------------------------------------

// Three handlers see every send: "before" (unbound), which sends the next level's event from its
// call while the nesting allows; "turns", bound to a and b, which receives each event twice by
// switching the sender (a to b on its first turn, back on its second); "after" (unbound). A
// delivery is named by its journal line and how often that line was written so far, so
// "turns:UIOpenMenuEvent#2" is the bound handler's second turn of the outermost send.
struct ThrowCase {
    const char* name;
    int depth;                          // sends nested below the caller's
    std::vector<std::string> throwing;  // the deliveries that throw, after their own work
    std::string first;                  // the one that leaves the caller's send
};

void PrintTo(const ThrowCase& c, std::ostream* out) {
    *out << c.name;
}

class AThrowingHandler : public EventTest, public ::testing::WithParamInterface<ThrowCase> {
  protected:
    AThrowingHandler() {
        center->addEventHandler(handler("before", [this](auto&, const Ref<Event>& event) {
            const std::string delivery = lastDelivery();
            const int level = levelOf(*event);
            if (level < GetParam().depth) {
                center->send(eventAt(level + 1));
            }
            throwIfListed(delivery);
        }));
        center->addEventHandler(a, turns);
        center->addEventHandler(b, turns);
        center->addEventHandler(
            handler("after", [this](auto&, const auto&) { throwIfListed(lastDelivery()); }));
    }

    // A level's event, sent by a.
    Ref<Event> eventAt(int level) const {
        switch (level) {
            case 0:
                return makeRef<UIOpenMenuEvent>(a);
            case 1:
                return makeRef<UICloseMenuEvent>(a);
            default:
                return makeRef<kelvane::UIOpenTrashEvent>(a);
        }
    }
    static int levelOf(const Event& event) {
        if (dynamic_cast<const UIOpenMenuEvent*>(&event) != nullptr) {
            return 0;
        }
        return dynamic_cast<const UICloseMenuEvent*>(&event) != nullptr ? 1 : 2;
    }

    // What every handler receives from a send at `level`, nested sends first.
    Journal everyDelivery(int level = 0) const {
        const std::string name = eventAt(level)->description();
        Journal lines{"before:" + name};
        if (level < GetParam().depth) {
            const Journal nested = everyDelivery(level + 1);
            lines.insert(lines.end(), nested.begin(), nested.end());
        }
        lines.insert(lines.end(), {"turns:" + name, "turns:" + name, "after:" + name});
        return lines;
    }

    // The delivery just journalled, as the cases name it.
    std::string lastDelivery() const {
        const std::string& line = journal->back();
        return line + "#" + std::to_string(std::ranges::count(*journal, line));
    }
    void throwIfListed(const std::string& delivery) const {
        if (throws && std::ranges::count(GetParam().throwing, delivery) != 0) {
            throw std::runtime_error(delivery);
        }
    }

    const Ref<Object> a = makeRef<Object>();
    const Ref<Object> b = makeRef<Object>();
    const std::shared_ptr<JournalHandler> turns =
        handler("turns", [this](auto&, const Ref<Event>& event) {
            event->sender = event->sender == a.shared() ? b.shared() : a.shared();
            throwIfListed(lastDelivery());
        });
    bool throws = true;
};

TEST_P(AThrowingHandler, KeepsNoOtherFromTheSendAndTheFirstExceptionLeavesIt) {
    const auto registrationsBefore = EventCenterAccess::registrations(*center);

    std::string caught;
    try {
        center->send(eventAt(0));
    } catch (const std::runtime_error& failure) {
        caught = failure.what();
    }
    EXPECT_EQ(caught, GetParam().first);
    EXPECT_EQ(*journal, everyDelivery()) << "every handler, every bound turn, every level";
    EXPECT_EQ(EventCenterAccess::registrations(*center), registrationsBefore);

    throws = false;
    journal->clear();
    EXPECT_NO_THROW(center->send(eventAt(0)));
    EXPECT_EQ(*journal, everyDelivery()) << "the next send";
}

INSTANTIATE_TEST_SUITE_P(
    EventCenter, AThrowingHandler,
    ::testing::Values(
        ThrowCase{
            "BoundBetweenTwoOthers", 0, {"turns:UIOpenMenuEvent#1"}, "turns:UIOpenMenuEvent#1"},
        ThrowCase{
            "InItsSecondBoundTurn", 0, {"turns:UIOpenMenuEvent#2"}, "turns:UIOpenMenuEvent#2"},
        ThrowCase{
            "UnboundBeforeTheOthers", 0, {"before:UIOpenMenuEvent#1"}, "before:UIOpenMenuEvent#1"},
        ThrowCase{"InANestedSend", 1, {"turns:UICloseMenuEvent#1"}, "turns:UICloseMenuEvent#1"},
        ThrowCase{
            "TwoNestedSendsDown", 2, {"turns:UIOpenTrashEvent#1"}, "turns:UIOpenTrashEvent#1"},
        ThrowCase{"TwoNestedSendsDownInItsSecondBoundTurn",
                  2,
                  {"turns:UIOpenTrashEvent#2"},
                  "turns:UIOpenTrashEvent#2"},
        ThrowCase{"OuterAfterNestedTheNestedOneLeaves",
                  1,
                  {"turns:UIOpenMenuEvent#1", "turns:UICloseMenuEvent#1"},
                  "turns:UICloseMenuEvent#1"},
        ThrowCase{
            "OnEveryLevelTheFirstOneLeaves",
            2,
            {"after:UIOpenMenuEvent#1", "turns:UICloseMenuEvent#2", "before:UIOpenTrashEvent#1"},
            "before:UIOpenTrashEvent#1"}),
    kelvane::testing::caseName);

TEST_F(EventCenterTest, AThrowingHandlerLeavesTheRegistrationsItChangedConsistent) {
    std::weak_ptr<JournalHandler> removed;
    {
        const auto h = handler("removed");
        removed = h;
        center->addEventHandler(handler("thrower", [&](auto&, const Ref<Event>& event) {
            if (dynamic_cast<UIOpenMenuEvent*>(event.get()) != nullptr) {
                center->removeEventHandler(Ref<EventHandler>(removed.lock()));
                throw std::runtime_error("handler failed");
            }
        }));
        center->addEventHandler(h);
    }

    EXPECT_THROW(center->send(std::make_shared<UIOpenMenuEvent>()), std::runtime_error);
    EXPECT_TRUE(removed.expired()) << "released with the send that still needed it";

    center->addEventHandler(handler("added-after"));
    center->send(std::make_shared<UICloseMenuEvent>());
    EXPECT_THAT(*journal, ElementsAre("thrower:UIOpenMenuEvent", "removed:UIOpenMenuEvent",
                                      "thrower:UICloseMenuEvent", "added-after:UICloseMenuEvent"));
}

TEST_F(EventCenterTest, AThreadEndedInsideAHandlerEndsTheSendThereAndLeavesTheCentreUsable) {
    center->addEventHandler(handler("exits", [](auto&, const Ref<Event>& event) {
        if (dynamic_cast<UIOpenMenuEvent*>(event.get()) != nullptr) {
            pthread_exit(nullptr);  // unwinds the thread through the send
        }
    }));
    center->addEventHandler(handler("after"));

    std::thread([&] { center->send(std::make_shared<UIOpenMenuEvent>()); }).join();
    center->send(std::make_shared<UICloseMenuEvent>());

    EXPECT_THAT(*journal, ElementsAre("exits:UIOpenMenuEvent", "exits:UICloseMenuEvent",
                                      "after:UICloseMenuEvent"));
}

// --- What the centre keeps alive -----------------------------------------------------------------

TEST_F(EventCenterTest, KeepsHandlersAndObjectsUntilTheyAreRemoved) {
    std::weak_ptr<JournalHandler> unboundHandler;
    std::weak_ptr<JournalHandler> boundHandler;
    std::weak_ptr<Object> first;
    std::weak_ptr<Object> second;
    std::weak_ptr<Object> listedOnUnbound;
    {
        const auto u = handler("unbound");
        const auto h = handler("bound");
        const auto a = std::make_shared<Object>();
        const auto b = std::make_shared<Object>();
        const auto c = std::make_shared<Object>();
        center->addEventHandler(u);
        center->addEventHandler(c, u);
        center->addEventHandler(a, h);
        center->addEventHandler(b, h);
        unboundHandler = u;
        boundHandler = h;
        first = a;
        second = b;
        listedOnUnbound = c;
    }
    EXPECT_FALSE(unboundHandler.expired() || boundHandler.expired() || first.expired() ||
                 second.expired() || listedOnUnbound.expired());

    center->removeEventHandler(Ref<Object>(first.lock()), Ref<EventHandler>(boundHandler.lock()));
    EXPECT_TRUE(first.expired());
    EXPECT_FALSE(boundHandler.expired());

    center->removeEventHandler(Ref<Object>(second.lock()), Ref<EventHandler>(boundHandler.lock()));
    EXPECT_TRUE(second.expired());
    EXPECT_TRUE(boundHandler.expired()) << "unregistered with its last object";

    center->removeEventHandler(Ref<EventHandler>(unboundHandler.lock()));
    EXPECT_TRUE(unboundHandler.expired());
    EXPECT_TRUE(listedOnUnbound.expired());
}

TEST_F(EventCenterTest, ASendKeepsWhatItWalksAliveUntilItReturns) {
    std::weak_ptr<JournalHandler> selfRemoving;
    std::weak_ptr<EventCenter> replacedCentre;
    {
        const auto shared = EventCenter::shared();
        replacedCentre = shared.shared();
        const auto h = handler("self-removing", [&](JournalHandler& self, const auto&) {
            replacedCentre.lock()->removeEventHandler(Ref<EventHandler>(selfRemoving.lock()));
            EventCenter::setShared(makeRef<EventCenter>());
            self.journal->push_back("still here");  // the sanitizer build catches a freed self
        });
        selfRemoving = h;
        shared->addEventHandler(h);
        shared->addEventHandler(handler("later"));
    }
    EXPECT_TRUE(selfRemoving.lock() != nullptr);

    EventCenter::shared()->send(std::make_shared<UIOpenMenuEvent>());

    EXPECT_THAT(*journal, ElementsAre("self-removing:UIOpenMenuEvent", "still here",
                                      "later:UIOpenMenuEvent"));
    EXPECT_TRUE(selfRemoving.expired());
    EXPECT_TRUE(replacedCentre.expired()) << "the replaced centre goes with its registrations";
    EXPECT_NE(EventCenter::shared().get(), nullptr);
}

// --- Lists alive while handlers send and remove -------------------------------------------------

// Counts its calls and checks, in each, the lists alive against the sends under way: one list per
// walk under way (of the handlers, or of one handler's objects), plus the current one. Each list
// holds a sentinel (a handler, or a bound object) whose count of owners, less the test's own,
// is the number of lists alive.
class ListCheck {
  public:
    ListCheck(std::weak_ptr<const void> sentinel, long heldByTheTest)
        : sentinel_(std::move(sentinel)), heldByTheTest_(heldByTheTest) {}

    void check(const char* when, int walks) {
        const long lists = sentinel_.use_count() - heldByTheTest_;
        peak = std::max(peak, lists);
        if (lists > walks + 1) {
            ++overBound;
            ADD_FAILURE() << lists << " lists alive " << when << " with " << walks
                          << " walks under way";
        }
    }
    long lists() const { return sentinel_.use_count() - heldByTheTest_; }

    long peak = 0;
    int overBound = 0;

  private:
    std::weak_ptr<const void> sentinel_;
    long heldByTheTest_;
};

class CallingHandler final : public EventHandler {
  public:
    explicit CallingHandler(std::function<void()> call = {}) : call_(std::move(call)) {}
    void onEvent(const Ref<Event>&) override {
        ++received;
        if (call_) {
            call_();
        }
    }
    int received = 0;

  private:
    std::function<void()> call_;
};

// One handler, from one call, a thousand times: a nested send, then a removal. Each removal but
// the first finds the list free again, so nothing is copied for it.
TEST_F(EventCenterTest, ListsStayOnePerWalkUnderWayWhenAHandlerSendsAndRemoves) {
    constexpr int kHandlers = 3000;
    constexpr int kRounds = 1000;
    int sends = 0;
    std::vector<std::shared_ptr<CallingHandler>> handlers;
    std::shared_ptr<ListCheck> lists;
    const auto check = [&](const char* when) { lists->check(when, sends); };
    for (int i = 0; i < kHandlers; ++i) {
        handlers.push_back(std::make_shared<CallingHandler>([&] { check("in a handler"); }));
    }
    const auto sender = center.get();
    auto remover = std::make_shared<CallingHandler>([&] {
        if (sends != 1) {
            return;
        }
        for (int round = 0; round < kRounds; ++round) {
            ++sends;
            sender->send(std::make_shared<UICloseMenuEvent>());
            --sends;
            check("after a nested send");
            const int doomed = round % 2 == 0 ? round / 2 + 1 : kHandlers - 1 - round / 2;
            sender->removeEventHandler(handlers[static_cast<std::size_t>(doomed)]);
            check("after a removal");
        }
    });
    for (int i = 0; i < kHandlers; ++i) {
        center->addEventHandler(handlers[static_cast<std::size_t>(i)]);
        if (i == kHandlers / 2) {
            center->addEventHandler(remover);
        }
    }
    lists = std::make_shared<ListCheck>(handlers.front(), 1);  // the vector's
    ASSERT_EQ(lists->lists(), 1);

    ++sends;
    center->send(std::make_shared<UIOpenMenuEvent>());
    --sends;

    EXPECT_EQ(lists->overBound, 0);
    EXPECT_LE(lists->peak, 3);
    EXPECT_EQ(lists->lists(), 1) << "once the outermost send ended";
    EXPECT_EQ(handlers.front()->received, 1 + kRounds);
    EXPECT_EQ(EventCenterAccess::registrations(*center).size(),
              static_cast<std::size_t>(kHandlers + 1 - kRounds));
}

// The same for one bound handler's objects: from its call for one sender, a thousand times, a
// nested send by that sender (which walks the objects again), then one object unbound.
TEST_F(EventCenterTest, BoundObjectListsStayOnePerWalkUnderWayWhenAHandlerSendsAndUnbinds) {
    constexpr int kObjects = 3000;
    constexpr int kRounds = 1000;
    std::vector<Ref<Object>> objects;
    for (int i = 0; i < kObjects; ++i) {
        objects.push_back(makeRef<Object>());
    }
    int walks = 0;
    std::shared_ptr<ListCheck> lists;
    std::weak_ptr<CallingHandler> weakSelf;
    auto bound = std::make_shared<CallingHandler>([&] {
        lists->check("in the handler", walks);
        if (walks != 1) {
            return;
        }
        const Ref<EventHandler> self = weakSelf.lock();
        for (int round = 0; round < kRounds; ++round) {
            ++walks;
            center->send(std::make_shared<UICloseMenuEvent>(objects.front()));
            --walks;
            lists->check("after a nested send", walks);
            center->removeEventHandler(objects[static_cast<std::size_t>(round + 1)], self);
            lists->check("after an unbinding", walks);
        }
    });
    weakSelf = bound;
    for (const auto& object : objects) {
        center->addEventHandler(object, bound);
    }
    // Not the sender: each event under way holds its sender too.
    lists = std::make_shared<ListCheck>(objects.back().shared(), 1);  // the vector's
    ASSERT_EQ(lists->lists(), 1);

    ++walks;
    center->send(std::make_shared<UIOpenMenuEvent>(objects.front()));
    --walks;

    EXPECT_EQ(lists->overBound, 0);
    EXPECT_LE(lists->peak, 3);
    EXPECT_EQ(lists->lists(), 1) << "once the outermost send ended";
    EXPECT_EQ(bound->received, 1 + kRounds);
    const auto registrations = EventCenterAccess::registrations(*center);
    ASSERT_EQ(registrations.size(), 1U);
    EXPECT_EQ(registrations.front().bindToObjects.size(),
              static_cast<std::size_t>(kObjects - kRounds));
}

TEST(EventCenterShared, IsMadeOnceForRacingFirstUsesAndCanBeReplaced) {
    std::vector<const EventCenter*> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = EventCenter::shared().get(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_THAT(seen, ::testing::Each(EventCenter::shared().get()));

    const auto replacement = makeRef<EventCenter>();
    EventCenter::setShared(replacement);
    EXPECT_EQ(EventCenter::shared().get(), replacement.get());
}

}  // namespace
