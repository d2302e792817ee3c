#pragma once

#include <string>
#include <type_traits>
#include <typeinfo>

namespace kelvane {

/// The root of the framework's reference types (models, events, components, code blocks).
///
/// Objects are owned through `std::shared_ptr` and compared by identity: two objects are equal
/// only when they are the same object. They are neither copyable nor movable, so an object's
/// address, which its identity and its printed form use, never changes.
class Object {
  public:
    Object() = default;
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    /// Identity: true only when `other` is this very object (seen through any base).
    virtual bool isEqual(const Object* other) const;

    /// The object's printed form. The default is `<Kelvane.ClassName: 0x…>`, with the address of
    /// the whole object in lower-case hexadecimal; subclasses may describe themselves.
    virtual std::string description() const;
};

/// The module-qualified name of a type as printed forms show it: a type of namespace `kelvane`
/// is `Kelvane.Name`; any other keeps its namespaces, joined with "." (`app.Screen`).
std::string qualifiedTypeName(const std::type_info& type);

/// The name of a type without its namespaces, as an event describes itself (`UIOpenMenuEvent`).
/// Template arguments keep their qualification (`Box<Kelvane.Folder>`).
std::string unqualifiedTypeName(const std::type_info& type);

/// `0x` followed by the address in lower-case hexadecimal.
std::string hexAddress(const void* address);

/// The address of the whole object that `object` is part of, so that one object seen through
/// two base types has one identity. Null for a null pointer.
template <class T>
const void* identityOf(const T* object) noexcept {
    if constexpr (std::is_polymorphic_v<T>) {
        return dynamic_cast<const void*>(object);
    } else {
        return object;
    }
}

}  // namespace kelvane
