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

std::string qualifiedTypeName(const std::type_info& type) {
    // Demangling allocates and is slow; printed forms ask for the same few types again and again.
    static std::mutex mutex;
    static std::unordered_map<std::type_index, std::string> cache;
    const std::lock_guard lock(mutex);
    auto [it, inserted] = cache.try_emplace(std::type_index(type));
    if (inserted) {
        it->second = moduleQualified(demangle(type.name()));
    }
    return it->second;
}

std::string unqualifiedTypeName(const std::type_info& type) {
    std::string name = qualifiedTypeName(type);
    const std::size_t scope = name.rfind('.', name.find('<'));
    if (scope != std::string::npos) {
        name.erase(0, scope + 1);
    }
    return name;
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
