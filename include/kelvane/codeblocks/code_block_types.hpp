#pragma once

// The values that code blocks pass around.
//
//   any-value    a std::any; an empty std::any is the absent value
//   error value  a non-null std::exception_ptr, which can carry an exception of any type. Work
//                reports an error by returning one inside its std::any result
//                (`return std::make_exception_ptr(std::runtime_error("no disk"));`); work that
//                throws reports what it threw the same way, since code blocks throw nothing.

#include <any>
#include <exception>
#include <functional>

namespace kelvane {

/// The work a wrapper runs: an any-value in, an any-value (or an error value) out. An empty
/// function is an absent executer.
using CodeBlockExecuter = std::function<std::any(const std::any& input)>;

/// Receives a run's result, which may be absent. An empty function is an absent callback.
using CodeBlockSuccessHandler = std::function<void(const std::any& result)>;

/// Receives a run's error. An empty function is an absent callback.
using CodeBlockErrorHandler = std::function<void(std::exception_ptr error)>;

/// The error value that `result` holds, or null when it holds none (a null exception_ptr is no
/// error). Lets callers of a sync block tell an error result from a plain one.
std::exception_ptr codeBlockError(const std::any& result) noexcept;

}  // namespace kelvane
