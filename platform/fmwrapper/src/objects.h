// The host objects behind the opaque pointers a plug-in holds.
//
// Each object registers itself with the runtime while it lives, so that any
// pointer a plug-in passes back can be checked against the set of live
// objects of its kind before it is ever dereferenced.
#pragma once

#include "FMWrapper/HostSide.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace fmw::detail {

void trackObject(Kind kind, const void* object);
void untrackObject(Kind kind, const void* object);

// Keeps the live-object registry in step with the lifetime of the host
// object it is a member of. Host objects are never copied: a copy would be a
// second object the plug-in never received.
template <Kind K>
class Tracked {
public:
    explicit Tracked(const void* owner) : owner_(owner) { trackObject(K, owner_); }
    ~Tracked() { untrackObject(K, owner_); }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;

private:
    const void* owner_;
};

}  // namespace fmw::detail

struct fmx::Text {
    static constexpr fmw::Kind kind = fmw::Kind::Text;
    static constexpr const char* noun = "text";
    fmw::detail::Tracked<kind> tracked{this};
    std::u16string units;
};

struct fmx::QuadChar {
    static constexpr fmw::Kind kind = fmw::Kind::QuadChar;
    static constexpr const char* noun = "quad-char";
    fmw::detail::Tracked<kind> tracked{this};
    std::array<char, 4> chars{};
};

struct fmx::Locale {
    static constexpr fmw::Kind kind = fmw::Kind::Locale;
    static constexpr const char* noun = "locale";
    fmw::detail::Tracked<kind> tracked{this};
    explicit Locale(std::string localeName) : name(std::move(localeName)) {}
    std::string name;
};

struct fmx::FixPt {
    static constexpr fmw::Kind kind = fmw::Kind::FixPt;
    static constexpr const char* noun = "number";
    fmw::detail::Tracked<kind> tracked{this};
    explicit FixPt(double number) : value(number) {}
    double value;
};

struct fmx::BinaryData {
    static constexpr fmw::Kind kind = fmw::Kind::BinaryData;
    static constexpr const char* noun = "binary data";
    fmw::detail::Tracked<kind> tracked{this};
    fmw::Container content;
};

struct fmx::Data {
    static constexpr fmw::Kind kind = fmw::Kind::Data;
    static constexpr const char* noun = "data";
    fmw::detail::Tracked<kind> tracked{this};
    using Content = std::variant<std::monostate, std::u16string, double, fmw::Container>;

    explicit Data(const fmx::Locale* initialLocale) : createdIn(initialLocale), locale(initialLocale) {}

    Content content;
    // The locale a result value was made in, owned by the value when the
    // host made it a locale of its own.
    std::unique_ptr<fmx::Locale> ownedLocale;
    const fmx::Locale* createdIn;
    const fmx::Locale* locale;
    std::int32_t nativeType = -1;
    int storeCount = 0;
};

struct fmx::DataVect {
    static constexpr fmw::Kind kind = fmw::Kind::DataVect;
    static constexpr const char* noun = "parameter vector";
    fmw::detail::Tracked<kind> tracked{this};
    std::vector<std::unique_ptr<fmx::Data>> values;
    // What the vector has handed out, by position: borrowed objects must
    // stay valid for as long as the vector, and asking twice gives the same.
    mutable std::vector<std::unique_ptr<fmx::Text>> texts;
    mutable std::vector<std::unique_ptr<fmx::FixPt>> numbers;
};

struct fmx::ExprEnv {
    static constexpr fmw::Kind kind = fmw::Kind::ExprEnv;
    static constexpr const char* noun = "expression environment";
    fmw::detail::Tracked<kind> tracked{this};
};

namespace fmw::detail {

// The locale the host gives every parameter value.
const fmx::Locale* defaultLocale();

Value toValue(const fmx::Data::Content& content);
fmx::Data::Content toContent(const Value& value);

// Decodes a zero-terminated Windows-1252 string, the host's native 8-bit
// encoding.
std::u16string decodeWindows1252(const char* text);

}  // namespace fmw::detail
