// The erased state is read by its type through get<T>(); reading it as a std::any, as an older
// interface invited, must not compile (it would quietly find nothing).
#include <any>

#include <kelvane/store/store_subscriber.hpp>

struct Counter {
    int value = 0;
};

class Erased final : public kelvane::AnyStoreSubscriber {
  public:
    void _newState(const kelvane::AnyStateReference& state) override {
#ifdef KELVANE_EXPECT_COMPILE_ERROR
        if (const auto* counter = std::any_cast<Counter>(&state)) {
#else
        if (const auto* counter = state.get<Counter>()) {
#endif
            found = counter->value == 0;
        }
    }
    bool found = false;
};

int main() {
    Erased erased;
    const Counter counter;
    erased._newState(kelvane::AnyStateReference(counter));
    return erased.found ? 0 : 1;
}
