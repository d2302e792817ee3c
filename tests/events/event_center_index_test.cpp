// The event centre at scale: registrations found by identity (re-adding, re-binding, removing in
// the middle) against a plain model of the registration rules, and many registrations changed
// during a send, which must still deliver exactly the snapshot it began with.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <kelvane/events/event_center.hpp>
#include <kelvane/events/menu_events.hpp>

#include <gtest/gtest.h>

#include "event_test_support.hpp"
#include "events/event_center_access.hpp"

namespace {

using kelvane::Event;
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

// The registration rules the plain way: one list in delivery order, found by scanning.
class Model {
  public:
    struct Registration {
        int eventHandler;
        bool isBinded;
        std::vector<int> bindToObjects;
    };

    void add(int handler) {
        if (find(handler) == list_.end()) {
            list_.push_back({handler, false, {}});
        }
    }
    void bind(int object, int handler) {
        const auto found = find(handler);
        if (found == list_.end()) {
            list_.push_back({handler, true, {object}});
        } else if (std::ranges::find(found->bindToObjects, object) == found->bindToObjects.end()) {
            found->bindToObjects.push_back(object);
        }
    }
    void remove(int handler) {
        const auto found = find(handler);
        if (found != list_.end()) {
            list_.erase(found);
        }
    }
    void unbind(int object, int handler) {
        const auto found = find(handler);
        if (found == list_.end()) {
            return;
        }
        const auto position = std::ranges::find(found->bindToObjects, object);
        if (position == found->bindToObjects.end()) {
            return;
        }
        found->bindToObjects.erase(position);
        if (found->isBinded && found->bindToObjects.empty()) {
            list_.erase(found);
        }
    }

    // The handlers that an event from `sender` reaches, in order.
    std::vector<int> receivers(int sender) const {
        std::vector<int> result;
        for (const Registration& registration : list_) {
            if (!registration.isBinded || std::ranges::find(registration.bindToObjects, sender) !=
                                              registration.bindToObjects.end()) {
                result.push_back(registration.eventHandler);
            }
        }
        return result;
    }

    const std::vector<Registration>& list() const { return list_; }

  private:
    std::vector<Registration>::iterator find(int handler) {
        return std::ranges::find(list_, handler, &Registration::eventHandler);
    }

    std::vector<Registration> list_;
};

class EventCenterAtScale : public EventTest {
  protected:
    void makeHandlers(int count) {
        for (int i = 0; i < count; ++i) {
            handlers.push_back(handler(std::to_string(i)));
        }
    }

    std::vector<EventCenterAccess::Registration> expected(const Model& model) const {
        std::vector<EventCenterAccess::Registration> result;
        for (const Model::Registration& registration : model.list()) {
            EventCenterAccess::Registration each{
                identityOf(handlers[static_cast<std::size_t>(registration.eventHandler)].get()),
                registration.isBinded,
                {}};
            for (const int object : registration.bindToObjects) {
                each.bindToObjects.push_back(
                    identityOf(objects[static_cast<std::size_t>(object)].get()));
            }
            result.push_back(std::move(each));
        }
        return result;
    }

    // Sends one event from object `sender`; returns the names of the handlers it reached.
    Journal sendFrom(int sender) {
        journal->clear();
        center->send(std::make_shared<UIOpenMenuEvent>(objects[static_cast<std::size_t>(sender)]));
        Journal names;
        for (const std::string& line : *journal) {
            names.push_back(line.substr(0, line.find(':')));
        }
        return names;
    }

    static Journal names(const std::vector<int>& handlers) {
        Journal result;
        for (const int handler : handlers) {
            result.push_back(std::to_string(handler));
        }
        return result;
    }

    std::vector<Ref<EventHandler>> handlers;
    std::vector<Ref<Object>> objects;
};

TEST_F(EventCenterAtScale, FollowsTheRegistrationRulesThroughManyChanges) {
    constexpr int handlerCount = 400;
    constexpr int objectCount = 12;
    makeHandlers(handlerCount);
    for (int i = 0; i < objectCount; ++i) {
        objects.push_back(makeRef<Object>());
    }
    Model model;
    std::mt19937 random(8);
    const auto pick = [&random](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };

    for (int step = 1; step <= 20000; ++step) {
        const int h = pick(handlerCount);
        const int o = pick(objectCount);
        const Ref<EventHandler>& handler = handlers[static_cast<std::size_t>(h)];
        const Ref<Object>& object = objects[static_cast<std::size_t>(o)];
        switch (pick(4)) {
            case 0:
                center->addEventHandler(handler);
                model.add(h);
                break;
            case 1:
                center->addEventHandler(object, handler);
                model.bind(o, h);
                break;
            case 2:
                center->removeEventHandler(handler);
                model.remove(h);
                break;
            default:
                center->removeEventHandler(object, handler);
                model.unbind(o, h);
                break;
        }
        if (step % 1000 == 0) {
            ASSERT_EQ(EventCenterAccess::registrations(*center), expected(model))
                << "after step " << step;
            const int sender = pick(objectCount);
            ASSERT_EQ(sendFrom(sender), names(model.receivers(sender))) << "after step " << step;
        }
    }
}

TEST_F(EventCenterAtScale, RemovingInTheMiddleKeepsTheOrderAndReleasesAtOnce) {
    makeHandlers(3000);
    objects.push_back(makeRef<Object>());
    Model model;
    for (int i = 0; i < 3000; ++i) {
        center->addEventHandler(handlers[static_cast<std::size_t>(i)]);
        model.add(i);
    }
    // Every other one of the middle thousand, then the same handlers again (they come last).
    std::weak_ptr<EventHandler> firstRemoved = handlers[1000].shared();
    for (int i = 1000; i < 2000; i += 2) {
        center->removeEventHandler(handlers[static_cast<std::size_t>(i)]);
        model.remove(i);
    }
    handlers[1000] = makeRef<kelvane::testing::JournalHandler>("1000", journal);
    EXPECT_TRUE(firstRemoved.expired()) << "a removal outside a send releases the handler";
    for (int i = 1002; i < 1100; i += 2) {
        center->addEventHandler(handlers[static_cast<std::size_t>(i)]);
        model.add(i);
    }
    EXPECT_EQ(EventCenterAccess::registrations(*center), expected(model));
    EXPECT_EQ(sendFrom(0), names(model.receivers(0)));
}

TEST_F(EventCenterAtScale, ManyChangesDuringASendKeepItsSnapshotAndCountForTheNextSend) {
    makeHandlers(300);
    const int changer = 100;
    std::vector<Ref<EventHandler>> added;
    for (int i = 300; i < 310; ++i) {
        added.push_back(handler(std::to_string(i)));
    }
    // Only the centre (and the send) will hold 150-249: the test keeps weak references.
    std::vector<std::weak_ptr<EventHandler>> later;
    for (int i = 150; i < 250; ++i) {
        later.push_back(handlers[static_cast<std::size_t>(i)].shared());
    }

    // On the first event only: removes 0-49 (delivered already) and 150-249 (still to come),
    // adds ten new ones, removes and re-adds itself, then sends a nested event.
    handlers[changer] = handler(std::to_string(changer), [&](auto&, const Ref<Event>& event) {
        if (dynamic_cast<UIOpenMenuEvent*>(event.get()) == nullptr) {
            return;
        }
        for (int i = 0; i < 50; ++i) {
            center->removeEventHandler(handlers[static_cast<std::size_t>(i)]);
        }
        for (const auto& h : later) {
            center->removeEventHandler(Ref<EventHandler>(h.lock()));
        }
        for (const auto& h : added) {
            center->addEventHandler(h);
        }
        center->removeEventHandler(handlers[changer]);
        center->addEventHandler(handlers[changer]);
        center->send(std::make_shared<UICloseMenuEvent>());
    });
    for (const auto& h : handlers) {
        center->addEventHandler(h);
    }
    for (int i = 150; i < 250; ++i) {
        handlers[static_cast<std::size_t>(i)] = handler("not registered");
    }

    std::vector<int> after;
    for (int i = 50; i < 300; ++i) {
        if (i != changer && (i < 150 || i >= 250)) {
            after.push_back(i);
        }
    }
    for (int i = 300; i < 310; ++i) {
        after.push_back(i);
    }
    after.push_back(changer);

    center->send(std::make_shared<UIOpenMenuEvent>());

    Journal expectedJournal;
    for (int i = 0; i <= changer; ++i) {
        expectedJournal.push_back(std::to_string(i) + ":UIOpenMenuEvent");
    }
    for (const int i : after) {
        expectedJournal.push_back(std::to_string(i) + ":UICloseMenuEvent");
    }
    for (int i = changer + 1; i < 300; ++i) {
        expectedJournal.push_back(std::to_string(i) + ":UIOpenMenuEvent");
    }
    EXPECT_EQ(*journal, expectedJournal);
    EXPECT_TRUE(std::ranges::all_of(later, [](const auto& h) { return h.expired(); }))
        << "released when the send that still needed them ended";

    journal->clear();
    center->send(std::make_shared<UICloseMenuEvent>());
    Journal next;
    for (const int i : after) {
        next.push_back(std::to_string(i) + ":UICloseMenuEvent");
    }
    EXPECT_EQ(*journal, next);
}

// A handler whose last reference goes with its registration, and whose destructor calls the
// centre that is letting it go.
class CallsBackWhenDestroyed final : public EventHandler {
  public:
    explicit CallsBackWhenDestroyed(std::function<void()> onDestroy)
        : onDestroy_(std::move(onDestroy)) {}
    ~CallsBackWhenDestroyed() override { onDestroy_(); }
    CallsBackWhenDestroyed(const CallsBackWhenDestroyed&) = delete;
    CallsBackWhenDestroyed& operator=(const CallsBackWhenDestroyed&) = delete;
    void onEvent(const Ref<Event>& /*event*/) override {}

  private:
    std::function<void()> onDestroy_;
};

TEST_F(EventCenterAtScale, AHandlerReleasedAsHolesCloseMayChangeTheRegistrations) {
    makeHandlers(40);
    for (const auto& h : handlers) {
        center->addEventHandler(h);
    }
    const auto late = handler("late");
    auto dying = std::make_shared<CallsBackWhenDestroyed>([&] {
        center->removeEventHandler(handlers[5]);
        center->addEventHandler(late);
        center->removeEventHandler(handlers[30]);
    });
    std::weak_ptr<EventHandler> weakDying = dying;
    center->addEventHandler(std::move(dying));
    // Removes the dying handler and most others during a send: all are released as it ends.
    center->addEventHandler(handler("remover", [&](auto&, const Ref<Event>& event) {
        if (dynamic_cast<UIOpenMenuEvent*>(event.get()) == nullptr) {
            return;
        }
        center->removeEventHandler(Ref<EventHandler>(weakDying.lock()));
        for (int i = 10; i < 40; ++i) {
            center->removeEventHandler(handlers[static_cast<std::size_t>(i)]);
        }
    }));

    center->send(std::make_shared<UIOpenMenuEvent>());
    EXPECT_TRUE(weakDying.expired());

    journal->clear();
    center->send(std::make_shared<UICloseMenuEvent>());
    Journal expectedJournal;
    for (int i = 0; i < 10; ++i) {
        if (i != 5) {
            expectedJournal.push_back(std::to_string(i) + ":UICloseMenuEvent");
        }
    }
    expectedJournal.push_back("remover:UICloseMenuEvent");
    expectedJournal.push_back("late:UICloseMenuEvent");
    EXPECT_EQ(*journal, expectedJournal);
    EXPECT_EQ(EventCenterAccess::registrations(*center).size(), expectedJournal.size());
}

}  // namespace
