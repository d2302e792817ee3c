// A StoreSubscriber receives its states through newState only: overriding the type-erased entry
// must not compile.
#include <kelvane/store/store_subscriber.hpp>

struct Counter {
    int value = 0;
};

class Subscriber final : public kelvane::StoreSubscriber<Counter> {
  public:
    void newState(const Counter& /*state*/) override {}
#ifdef KELVANE_EXPECT_COMPILE_ERROR
    void _newState(const kelvane::AnyStateReference& /*state*/) override {}
#endif
};

int main() {
    Subscriber subscriber;
    const Counter counter;
    subscriber._newState(kelvane::AnyStateReference(counter));
}
