#pragma once

#include <exception>
#include <utility>

namespace kelvane::detail {

// The first exception of a run of calls that must all be made, such as the subscribers of one
// delivery or the handlers of one send: kept while the run goes on, later ones dropped, rethrown
// by the owner once the run has ended and the owner is consistent again.
//
//     try { call(); } catch (...) { failures.keep(); }
//     ...
//     failures.rethrowIfAny();
class FirstFailure {
  public:
    // Called from a catch block: keeps the exception being handled when it is the first. One that
    // cannot be kept goes on at once: a thread's cancellation or `pthread_exit` unwinds as a
    // foreign exception, which must not be stopped. Out of line, so that the calls it guards cost
    // nothing more while nothing throws.
    [[gnu::cold]] [[gnu::noinline]] void keep() {
        std::exception_ptr failure = std::current_exception();
        if (!failure) {
            throw;
        }
        if (!first_) {
            first_ = std::move(failure);
        }
    }

    void rethrowIfAny() const {
        if (first_) {
            std::rethrow_exception(first_);
        }
    }

  private:
    std::exception_ptr first_;
};

}  // namespace kelvane::detail
