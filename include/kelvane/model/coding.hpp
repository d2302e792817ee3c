#pragma once

#include <any>
#include <concepts>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include <kelvane/platform/object.hpp>

namespace kelvane {

/// The dictionary form of a `Coding` value: keys and value formats are the adopting type's own
/// choice; values are held type-erased.
using CodingDictionary = std::map<std::string, std::any>;

/// What `T::make(dictionary)` yields: a new object (null when it fails) for a class derived from
/// `Object`, an optional value for a value type.
template <class T>
using CodingResult =
    std::conditional_t<std::is_base_of_v<Object, T>, std::shared_ptr<T>, std::optional<T>>;

/// A type that can be built from a dictionary and turned into one; offered to host applications
/// (no framework type adopts it). A type adopts it by providing
///
///     static CodingResult<T> make(const CodingDictionary& dictionary);  // absent when it fails
///     CodingDictionary dictionaryRepresentation() const;
///
/// and can check itself with `static_assert(kelvane::Coding<T>)`.
template <class T>
concept Coding = requires(const T& value, const CodingDictionary& dictionary) {
    { T::make(dictionary) } -> std::same_as<CodingResult<T>>;
    { value.dictionaryRepresentation() } -> std::same_as<CodingDictionary>;
};

}  // namespace kelvane
