#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <mutex>
#include <string_view>
#include <typeindex>
#include <unordered_map>

#include <kelvane/platform/detail/never_destroyed.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace {

std::string demangle(const char* mangled) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> text(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && text ? std::string(text.get()) : std::string(mangled);
}

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Every name of the framework's namespace becomes Kelvane-qualified, template arguments included
// (`Kelvane.TArray<Kelvane.Folder>`); "::" becomes ".".
std::string moduleQualified(std::string_view name) {
    constexpr std::string_view ownNamespace = "kelvane::";
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        // Only a top-level kelvane:: counts, not a namespace of that name nested in another.
        const bool startsName = i == 0 || (!isIdentifierChar(name[i - 1]) && name[i - 1] != ':');
        if (startsName && name.substr(i).starts_with(ownNamespace)) {
            out += "Kelvane.";
            i += ownNamespace.size() - 1;
        } else if (name[i] == ':' && i + 1 < name.size() && name[i + 1] == ':') {
            out += '.';
            ++i;
        } else {
            out += name[i];
        }
    }
    return out;
}

}  // namespace

namespace {

struct TypeNames {
    std::string qualified;
    std::string unqualified;
};

struct TypeNameCache {
    std::mutex mutex;
    std::unordered_map<std::type_index, TypeNames> names;
};

// Demangling allocates and is slow; printed forms ask for the same few types again and again.
// Entries are never changed or removed once made, and the map's nodes never move, so a reference
// stays good after the lock is released.
const TypeNames& namesOf(const std::type_info& type) {
    // Never destroyed: actions and events are printed at exit too.
    static platform::detail::NeverDestroyed<TypeNameCache> cache;
    const std::lock_guard lock(cache->mutex);
    auto [it, inserted] = cache->names.try_emplace(std::type_index(type));
    if (inserted) {
        TypeNames& names = it->second;
        names.qualified = moduleQualified(demangle(type.name()));
        // Template arguments keep their namespaces: only a "." before the first "<" scopes.
        const std::size_t scope = names.qualified.rfind('.', names.qualified.find('<'));
        names.unqualified =
            scope == std::string::npos ? names.qualified : names.qualified.substr(scope + 1);
    }
    return it->second;
}

}  // namespace

std::string qualifiedTypeName(const std::type_info& type) {
    return namesOf(type).qualified;
}

std::string unqualifiedTypeName(const std::type_info& type) {
    return namesOf(type).unqualified;
}

std::string hexAddress(const void* address) {
    char buffer[2 + 2 * sizeof(void*) + 1];
    std::snprintf(buffer, sizeof buffer, "0x%lx",
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(address)));
    return buffer;
}

bool Object::isEqual(const Object* other) const {
    return other != nullptr && identityOf(other) == identityOf(this);
}

std::string Object::description() const {
    std::string text = "<";
    text += qualifiedTypeName(typeid(*this));
    text += ": ";
    text += hexAddress(identityOf(this));
    text += '>';
    return text;
}

}  // namespace kelvane
