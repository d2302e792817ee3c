// The coding interface has no behaviour of its own: these checks pin down which shapes adopt it.
#include <memory>
#include <optional>
#include <type_traits>

#include <kelvane/model/coding.hpp>
#include <kelvane/platform/object.hpp>

namespace {

using kelvane::CodingDictionary;
using kelvane::CodingResult;

// A value record and a reference class adopting the interface, as a host application would.
struct Marker {
    static std::optional<Marker> make(const CodingDictionary&) { return std::nullopt; }
    CodingDictionary dictionaryRepresentation() const { return {}; }
};

class Note final : public kelvane::Object {
  public:
    static std::shared_ptr<Note> make(const CodingDictionary&) { return nullptr; }
    CodingDictionary dictionaryRepresentation() const { return {}; }
};

// The initializer must be able to fail: a reference class yields a nullable pointer, a value an
// optional. Anything else, or a missing representation, does not adopt the interface.
struct NeverFails {
    static NeverFails make(const CodingDictionary&) { return {}; }
    CodingDictionary dictionaryRepresentation() const { return {}; }
};

class ValueShapedObject final : public kelvane::Object {
  public:
    static std::optional<int> make(const CodingDictionary&) { return std::nullopt; }
    CodingDictionary dictionaryRepresentation() const { return {}; }
};

struct WithoutRepresentation {
    static std::optional<WithoutRepresentation> make(const CodingDictionary&) { return {}; }
};

static_assert(kelvane::Coding<Marker>);
static_assert(kelvane::Coding<Note>);
static_assert(!kelvane::Coding<NeverFails>);
static_assert(!kelvane::Coding<ValueShapedObject>);
static_assert(!kelvane::Coding<WithoutRepresentation>);
static_assert(std::is_same_v<CodingResult<Note>, std::shared_ptr<Note>>);
static_assert(std::is_same_v<CodingResult<Marker>, std::optional<Marker>>);

}  // namespace
