#pragma once

#include <exception>
#include <utility>

namespace kelvane::detail {

// The first exception of a run of calls that must all be made, such as the subscribers of one
// delivery or the handlers of one send: kept while the run goes on, later ones dropped, rethrown
// by the owner once the run has ended and the owner is consistent again.
//
//     failures.call([&] { subscriber.newState(state); });
//     ...
//     failures.rethrowIfAny();
class FirstFailure {
  public:
    // Makes the call; what it throws is kept (the first) or dropped, and does not leave here,
    // but for a thread's cancellation or exit (see `keep`). Always inlined, so that a call costs
    // the call alone while nothing throws.
    template <class Call>
    [[gnu::always_inline]] void call(Call&& call) {
        try {
            std::forward<Call>(call)();
        } catch (...) {
            keep();
        }
    }

    void rethrowIfAny() const {
        if (first_) {
            std::rethrow_exception(first_);
        }
    }

  private:
    // Keeps the exception being handled when it is the first. One that cannot be kept goes on at
    // once: a thread's cancellation or `pthread_exit` unwinds as a foreign exception, which must
    // not be stopped. Out of line: only a throw gets here.
    [[gnu::cold]] [[gnu::noinline]] void keep() {
        std::exception_ptr failure = std::current_exception();
        if (!failure) {
            throw;
        }
        if (!first_) {
            first_ = std::move(failure);
        }
    }

    std::exception_ptr first_;
};

}  // namespace kelvane::detail
