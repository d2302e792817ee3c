#include "state/action_case.hpp"

#include <type_traits>
#include <typeinfo>

namespace kelvane::detail {

namespace {

// Calls `test(List*, const Type*)` with null pointers for every listed type, list by list in the
// order of ActionCase, until a call returns true.
template <class Test>
constexpr bool anyListed(Test test) {
    const auto inList = [&test]<class List, class... Actions>(List*, std::variant<Actions...>*) {
        return (test(static_cast<List*>(nullptr), static_cast<Actions>(nullptr)) || ...);
    };
    return [&inList]<class... Lists>(std::variant<std::monostate, Lists...>*) {
        return (inList(static_cast<Lists*>(nullptr), static_cast<Lists*>(nullptr)) || ...);
    }(static_cast<ActionCase*>(nullptr));
}

constexpr bool aListedTypeDerivesFromAnother =
    anyListed([]<class List, class Derived>(List*, const Derived*) {
        return anyListed([]<class Other, class Base>(Other*, const Base*) {
            return std::is_base_of_v<Base, Derived> && !std::is_same_v<Base, Derived>;
        });
    });
// Otherwise an action's exact type would not always give the first case it matches.
static_assert(!aListedTypeDerivesFromAnother);

// Only classes that are not final can be derived from, so an action matches types of two lists
// only if two such classes sit in different lists.
constexpr bool classActionsInTwoLists = anyListed([]<class List, class Class>(List*, const Class*) {
    return !std::is_final_v<Class> &&
           anyListed([]<class Other, class OtherClass>(Other*, const OtherClass*) {
               return !std::is_final_v<OtherClass> && !std::is_same_v<List, Other>;
           });
});
// Otherwise one case could not serve every reducer.
static_assert(!classActionsInTwoLists);

}  // namespace

ActionCase actionCase(const Action& action) {
    const std::type_info& type = typeid(action);
    ActionCase found;
    const auto take = [&found]<class List, class Type>(List*, const Type* matched) {
        found.emplace<List>(std::in_place_type<const Type*>, matched);
        return true;
    };
    // The exact type, by the address of its type_info: one comparison per listed type, and
    // enough wherever the program holds one type_info object per type, as it normally does.
    if (anyListed([&]<class List, class Type>(List* list, const Type*) {
            return &type == &typeid(Type) && take(list, static_cast<const Type*>(&action));
        })) {
        return found;
    }
    // Subclasses of the two class actions, host actions, and a listed type whose type_info a
    // shared library has duplicated (then only the name tells them apart). No cache: each
    // dispatch asks again, and nothing is shared between threads.
    anyListed([&]<class List, class Type>(List* list, const Type*) {
        const Type* matched = nullptr;
        if constexpr (std::is_final_v<Type>) {
            matched = type == typeid(Type) ? static_cast<const Type*>(&action) : nullptr;
        } else {
            matched = dynamic_cast<const Type*>(&action);
        }
        return matched != nullptr && take(list, matched);
    });
    return found;
}

}  // namespace kelvane::detail
