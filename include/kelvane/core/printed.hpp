#pragma once

// The printed form of values: the one text rendering that log lines, the store's halt message and
// event descriptions use.
//
//   integer            42, -7
//   truth value        true, false
//   floating point     1.5, 2.0 (shortest text that reads back the same)
//   text               "a \"quoted\" line\n" (see appendQuoted); a null C string prints nil
//   std::optional<T>   Optional(<T printed>) or nil
//   std::shared_ptr<T> a reference that may be absent: Optional(<object printed>) or nil
//   kelvane::Ref<T>    a reference that is never absent: the object printed
//   std::vector<T>     [a, b, c]
//   record             TypeName(field: value, ...), fields in declaration order (KELVANE_RECORD)
//   Object             its description(): <Kelvane.ClassName: 0x…> unless it describes itself
//
// Other types print through a `printTo(std::string&, const T&)` found by argument-dependent lookup.
// A value seen through an interface (an action, a component) prints by its class at run time with
// appendPrintedInstance: an Object by its description(), any other class by its qualified name.

#include <charconv>
#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/platform/object.hpp>

#include <boost/describe/class.hpp>
#include <boost/describe/members.hpp>
#include <boost/mp11/algorithm.hpp>

/// Describes a value record for printing: `KELVANE_RECORD(AddFolderAction, (folder, position))`
/// after the struct, in its namespace. The fields print in the order given, which must be their
/// declaration order.
#define KELVANE_RECORD(Type, Members)                                                            \
    BOOST_DESCRIBE_STRUCT(Type, (), Members)                                                     \
    [[maybe_unused]] inline constexpr std::string_view kelvaneRecordName(const Type*) noexcept { \
        return #Type;                                                                            \
    }

namespace kelvane {

/// Appends `text` in double quotes. A backslash goes before each backslash, apostrophe and
/// double quote; line feed, carriage return, tab and NUL become \n, \r, \t and \0; any other
/// control character (below 0x20, and 0x7F) becomes \u{XX} with its code in hexadecimal.
/// Other bytes, UTF-8 included, are copied unchanged.
void appendQuoted(std::string& out, std::string_view text);

namespace detail {

template <class T>
concept Record = requires(const T* p) {
    { kelvaneRecordName(p) } -> std::convertible_to<std::string_view>;
};

template <class T>
concept CustomPrinted = requires(std::string& out, const T& value) {
    printTo(out, value);
};

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};
template <class T>
struct IsSharedPtr : std::false_type {};
template <class T>
struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {};
template <class T>
struct IsRef : std::false_type {};
template <class T>
struct IsRef<Ref<T>> : std::true_type {};
template <class T>
struct IsVector : std::false_type {};
template <class T, class A>
struct IsVector<std::vector<T, A>> : std::true_type {};

void appendFloating(std::string& out, double value);

// `object` is the whole instance seen as an Object, null when its class does not derive from one.
void appendInstance(std::string& out, const Object* object, const std::type_info& type);

template <class T>
void appendObject(std::string& out, const T& object);

}  // namespace detail

/// Appends the printed form of `value` to `out`.
template <class T>
void appendPrinted(std::string& out, const T& value) {
    using V = std::remove_cvref_t<T>;
    if constexpr (std::is_same_v<V, bool>) {
        out += value ? "true" : "false";
    } else if constexpr (std::is_integral_v<V>) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr);
    } else if constexpr (std::is_floating_point_v<V>) {
        detail::appendFloating(out, static_cast<double>(value));
    } else if constexpr (std::is_convertible_v<const V&, std::string_view>) {
        if constexpr (std::is_pointer_v<V>) {
            // A null C string is no text: it prints as absent rather than being read.
            if (value == nullptr) {
                out += "nil";
                return;
            }
        }
        appendQuoted(out, std::string_view(value));
    } else if constexpr (detail::IsOptional<V>::value) {
        if (value) {
            out += "Optional(";
            appendPrinted(out, *value);
            out += ')';
        } else {
            out += "nil";
        }
    } else if constexpr (detail::IsSharedPtr<V>::value) {
        if (value) {
            out += "Optional(";
            detail::appendObject(out, *value);
            out += ')';
        } else {
            out += "nil";
        }
    } else if constexpr (detail::IsRef<V>::value) {
        detail::appendObject(out, *value);
    } else if constexpr (detail::IsVector<V>::value) {
        out += '[';
        bool first = true;
        for (const auto& element : value) {
            if (!first) {
                out += ", ";
            }
            first = false;
            appendPrinted(out, element);
        }
        out += ']';
    } else if constexpr (detail::Record<V>) {
        out += kelvaneRecordName(static_cast<const V*>(nullptr));
        out += '(';
        bool first = true;
        boost::mp11::mp_for_each<
            boost::describe::describe_members<V, boost::describe::mod_any_access>>(
            [&](auto member) {
                if (!first) {
                    out += ", ";
                }
                first = false;
                out += member.name;
                out += ": ";
                appendPrinted(out, value.*member.pointer);
            });
        out += ')';
    } else if constexpr (detail::CustomPrinted<V>) {
        printTo(out, value);
    } else if constexpr (std::is_base_of_v<Object, V>) {
        out += value.description();
    } else {
        static_assert(sizeof(V) == 0,
                      "no printed form for this type: describe it with KELVANE_RECORD, "
                      "derive it from kelvane::Object or give it a printTo()");
    }
}

/// Appends the printed form of `instance` as its class, known only at run time, shows it: the
/// object's `description()` when that class derives from `kelvane::Object` (`<Kelvane.Folder: 0x…>`
/// or `<hostapp.Ping: 0x…>` unless it describes itself), else the class's module-qualified name
/// (`Kelvane.ResumeRecordingAction`, `hostapp.Ping`). The default printing of actions and
/// components seen through their interface.
template <class T>
requires std::is_polymorphic_v<T>
void appendPrintedInstance(std::string& out, const T& instance) {
    detail::appendInstance(out, dynamic_cast<const Object*>(&instance), typeid(instance));
}

/// The printed form of `value` (see the top of this header).
template <class T>
std::string printed(const T& value) {
    std::string out;
    appendPrinted(out, value);
    return out;
}

template <class T>
void detail::appendObject(std::string& out, const T& object) {
    appendPrinted(out, object);
}

}  // namespace kelvane
