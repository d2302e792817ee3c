#pragma once

#include <any>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/object.hpp>
#include <kelvane/platform/ui_nib.hpp>

namespace kelvane::platform {

/// A bundle: the information dictionary of a program or library, and the interface files it
/// ships.
///
/// The information dictionary is fixed when the bundle is made and may be read from any thread.
/// The nibs are registered by the host application from the main thread, before they are used.
class Bundle : public Object {
  public:
    /// Keys to values: strings are `std::string`, numbers `std::int64_t` or `double`, truth
    /// values `bool`.
    using InfoDictionary = std::map<std::string, std::any>;

    /// A bundle with `infoDictionary`, or with none. A C string value (`const char*`, as a string
    /// literal gives) is kept as a `std::string`, so that every text reads back as one type.
    explicit Bundle(std::optional<InfoDictionary> infoDictionary = std::nullopt);

    /// The framework's own bundle, made once on first use. Its information dictionary holds the
    /// framework's version under "CFBundleShortVersionString" and its build number under
    /// "CFBundleVersion", both strings, from the build.
    static std::shared_ptr<Bundle> framework();
    /// The host application's bundle, made once on first use, with an empty information
    /// dictionary. Nibs asked for without a bundle are looked up here.
    static std::shared_ptr<Bundle> main();

    /// Absent when the bundle has no information dictionary.
    const std::optional<InfoDictionary>& infoDictionary() const { return infoDictionary_; }
    /// The value under `key`; empty when the key or the whole dictionary is missing.
    std::any objectForInfoDictionaryKey(const std::string& key) const;

    /// Makes `builder` the nib `name` of this bundle, replacing any nib of that name.
    void registerNib(std::string name, UINib::Builder builder);
    /// The builder of the nib `name`; empty when the bundle has none.
    UINib::Builder nibBuilder(const std::string& name) const;

  private:
    std::optional<InfoDictionary> infoDictionary_;
    std::map<std::string, UINib::Builder> nibs_;
};

}  // namespace kelvane::platform
