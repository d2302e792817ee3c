// The developer test screens at work: the sample screen adds its entries to the shared store, the
// test root screen lists them, opens one in a child screen, runs an action, goes back, has its
// menu button dragged, and a second root screen (as after a restart) reopens the last entry.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/framework/component_manager.hpp>
#include <kelvane/platform/dispatch_queue.hpp>
#include <kelvane/platform/uikit.hpp>
#include <kelvane/platform/user_defaults.hpp>
#include <kelvane/state.hpp>
#include <kelvane/testscreens.hpp>

#include "demo.hpp"

namespace {

namespace platform = kelvane::platform;
using kelvane::HowToUseStateInUITableView;
using kelvane::UITestRootViewController;

// What the host's interface file of the test root screen holds.
struct RootInterface {
    std::shared_ptr<platform::UITableView> table;
    std::shared_ptr<platform::UIButton> plus;
    std::shared_ptr<platform::UIButton> back;
    std::shared_ptr<platform::UIView> shadow;
};

RootInterface* currentRootInterface = nullptr;

// The host registers its interface files as nib builders, which connect the owner's outlets.
void registerInterfaceFiles() {
    const auto bundle = platform::Bundle::main();
    bundle->registerNib("UITestRootViewController", [](kelvane::Object* owner) {
        const auto root = std::make_shared<platform::UIView>(platform::CGRect{{0, 0}, {375, 667}});
        RootInterface views{
            std::make_shared<platform::UITableView>(root->bounds()),
            std::make_shared<platform::UIButton>(platform::CGRect{{300, 580}, {56, 56}}),
            std::make_shared<platform::UIButton>(platform::CGRect{{16, 40}, {44, 44}}),
            std::make_shared<platform::UIView>(root->bounds())};
        root->addSubview(views.table);
        root->addSubview(views.shadow);
        root->addSubview(views.back);
        root->addSubview(views.plus);
        auto* controller = dynamic_cast<UITestRootViewController*>(owner);
        if (controller != nullptr) {
            const auto self =
                std::static_pointer_cast<UITestRootViewController>(controller->shared_from_this());
            self->setTblTestRootView(views.table);
            self->setBtnPlus(views.plus);
            self->setBtnBack(views.back);
            self->setVwShadow(views.shadow);
            views.table->setDataSource(self);
            views.table->setDelegate(self);
            views.plus->addTarget(self, &UITestRootViewController::actionBtnPlus,
                                  platform::UIControlEvents::touchUpInside);
            views.back->addTarget(self, &UITestRootViewController::actionBtnBack,
                                  platform::UIControlEvents::touchUpInside);
        }
        if (currentRootInterface != nullptr) {
            *currentRootInterface = views;
        }
        return std::vector<std::shared_ptr<kelvane::Object>>{root};
    });
    bundle->registerNib("SampleCell", [](kelvane::Object*) {
        return std::vector<std::shared_ptr<kelvane::Object>>{
            std::make_shared<platform::UITableViewCell>()};
    });
    bundle->registerNib("HowToUseStateInUITableView", [](kelvane::Object* owner) {
        const auto root = std::make_shared<platform::UIView>(platform::CGRect{{0, 0}, {375, 667}});
        const auto table = std::make_shared<platform::UITableView>(root->bounds());
        root->addSubview(table);
        table->registerNib(platform::UINib::nibWithNibName("SampleCell", nullptr), "cell");
        if (auto* controller = dynamic_cast<HowToUseStateInUITableView*>(owner)) {
            const auto self = std::static_pointer_cast<HowToUseStateInUITableView>(
                controller->shared_from_this());
            self->setTableView(table);
            table->setDataSource(self);
            table->setDelegate(self);
        }
        return std::vector<std::shared_ptr<kelvane::Object>>{root};
    });
}

void printRows(const char* what, const platform::UITableView& table) {
    std::printf("%s:", what);
    for (const auto& cell : table.visibleCells()) {
        std::printf(" [%s]", cell->textLabel()->text().value_or("").c_str());
    }
    std::printf("\n");
}

void printChild(const UITestRootViewController& screen) {
    const auto children = screen.childViewControllers();
    if (children.empty()) {
        std::printf("child screens: none\n");
        return;
    }
    const auto color = children.front()->view()->backgroundColor();
    const auto frame = children.front()->view()->frame();
    std::printf("child screens: %zu, the first %g x %g at index 0, background %s\n",
                children.size(), frame.size.width, frame.size.height,
                !color                                                 ? "none"
                : color->isEqual(platform::UIColor::redColor().get())  ? "red"
                : color->isEqual(platform::UIColor::blueColor().get()) ? "blue"
                                                                       : "other");
}

// The sample component that start-up registers, installed so that opening an entry has one to
// uninstall.
void installSampleComponent() {
    const auto registry = kelvane::ComponentManager::shared();
    if (auto component = std::dynamic_pointer_cast<kelvane::InstallableComponent>(
            registry->create("TestComponent"))) {
        registry->install(component);
    }
}

void drain() {
    const auto ran = platform::DispatchQueue::main().drain();
    std::printf("main queue: %zu block(s) ran\n", ran);
}

}  // namespace

void demo::runTestScreensDemo() {
    section("developer test screens");
    // User defaults of the demo's own, so that the user's settings stay untouched.
    useTemporaryFolderFor("XDG_CONFIG_HOME");
    auto& defaults = platform::UserDefaults::standard();
    std::printf("user defaults: %s\n", defaults.file().c_str());
    registerInterfaceFiles();

    std::printf("-- the sample screen adds its two entries\n");
    const auto sample = std::make_shared<HowToUseStateInUITableView>("HowToUseStateInUITableView");
    sample->loadViewIfNeeded();
    kelvane::store()->subscribe(sample);
    printRows("sample rows", *sample->tableView());
    sample->tableView()->selectRowByUser(platform::IndexPath{1, 0});
    const auto sampleColor = sample->view()->backgroundColor();
    std::printf("sample screen after selecting row 1: %s\n",
                sampleColor && sampleColor->isEqual(platform::UIColor::blueColor().get())
                    ? "blue"
                    : "not blue");

    std::printf("-- the test root screen loads and prints the entry list\n");
    RootInterface views;
    currentRootInterface = &views;
    auto root = std::make_shared<UITestRootViewController>("UITestRootViewController");
    root->loadViewIfNeeded();
    drain();
    printRows("root rows", *views.table);

    std::printf("-- selecting row 0 uninstalls the components, then opens \"Example Test 1\"\n");
    installSampleComponent();
    views.table->selectRowByUser(platform::IndexPath{0, 0});
    drain();
    printRows("root rows", *views.table);
    printChild(*root);
    std::printf("lastTestEntry = %s, btnBack %s\n",
                kelvane::printed(defaults.integerForKey("lastTestEntry")).c_str(),
                views.back->isHidden() ? "hidden" : "shown");

    std::printf("-- selecting the action row runs it and opens the menu\n");
    views.table->selectRowByUser(platform::IndexPath{0, 0});
    std::printf("menu %s, overlay %s, btnBack %s\n", views.plus->isSelected() ? "open" : "closed",
                views.shadow->isHidden() ? "hidden" : "shown",
                views.back->isHidden() ? "hidden" : "shown");

    std::printf("-- back to the entry list; the child screen stays\n");
    views.back->sendActionsForControlEvents(platform::UIControlEvents::touchUpInside);
    drain();
    printRows("root rows", *views.table);
    printChild(*root);

    std::printf("-- dragging the menu button\n");
    const auto pan = std::dynamic_pointer_cast<platform::UIPanGestureRecognizer>(
        views.plus->gestureRecognizers().at(0));
    pan->update(platform::UIGestureRecognizerState::began, {328, 608}, root->view().get());
    pan->update(platform::UIGestureRecognizerState::changed, {120, 200}, root->view().get());
    std::printf("button centre while dragging: (%g, %g)\n", views.plus->center().x,
                views.plus->center().y);
    pan->update(platform::UIGestureRecognizerState::ended, {120, 200}, root->view().get());
    std::printf("saved position: (%s, %s)\n",
                kelvane::printed(defaults.doubleForKey("dragBtnPositionX")).c_str(),
                kelvane::printed(defaults.doubleForKey("dragBtnPositionY")).c_str());

    root.reset();
    views = {};
    drain();

    std::printf("-- a new root screen (as after a restart) reopens entry %s\n",
                kelvane::printed(defaults.integerForKey("lastTestEntry")).c_str());
    RootInterface againViews;
    currentRootInterface = &againViews;
    auto again = std::make_shared<UITestRootViewController>("UITestRootViewController");
    again->loadViewIfNeeded();
    std::printf("button centre before the main queue runs: (%g, %g)\n", againViews.plus->center().x,
                againViews.plus->center().y);
    drain();
    std::printf("button centre after: (%g, %g)\n", againViews.plus->center().x,
                againViews.plus->center().y);
    printRows("root rows", *againViews.table);
    printChild(*again);

    std::printf("-- one more entry arrives while the actions are shown: action 0 runs\n");
    kelvane::store()->dispatch(kelvane::UITestAddTestEntry(kelvane::makeRef<kelvane::UITestEntry>(
        "Late entry", [](const std::shared_ptr<platform::UIViewController>&) {})));
    std::printf("menu %s, btnBack %s\n", againViews.plus->isSelected() ? "open" : "closed",
                againViews.back->isHidden() ? "hidden" : "shown");
    drain();
    printRows("root rows", *againViews.table);
    currentRootInterface = nullptr;
}
