// The host's side of the plug-in runtime: what the host program and the
// tests use to build parameters, call registered functions, read results,
// count live objects and make host calls fail on purpose.
//
// Nothing here is called by a plug-in; a plug-in sees only FMWrapper.h.
#pragma once

#include "FMWrapper/FMWrapper.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fmw {

// ---- Values -------------------------------------------------------------

struct Stream {
    std::string type;  // four characters, e.g. "GIFf"
    std::vector<std::uint8_t> bytes;
};

// A container value. The typed data streams are numbered from 0 in the
// order they were added; the image size and the file name are attributes of
// the value, not streams. `addOrder` records every add operation ("SIZE",
// "FNAM" or the stream type) so the order of construction can be checked.
struct Container {
    std::vector<Stream> streams;
    std::optional<std::u16string> fileName;
    std::optional<std::pair<std::int16_t, std::int16_t>> imageSize;
    std::vector<std::string> addOrder;
};

class Value {
public:
    enum class Type { Empty, Text, Number, Container };

    Value() = default;
    static Value text(std::u16string text);
    static Value number(double number);
    static Value container(Container container);

    Type type() const { return type_; }
    const std::u16string& textValue() const { return text_; }
    double numberValue() const { return number_; }
    const Container& containerValue() const { return container_; }

    // The value as the host shows it as text: numbers in their shortest
    // form, containers by their file name.
    std::u16string asText() const;
    // The value as the host converts it to a number (see textToNumber).
    double asNumber() const;

private:
    Type type_ = Type::Empty;
    std::u16string text_;
    double number_ = 0.0;
    Container container_;
};

// The host's conversions.
// Number to text: the shortest decimal form that reads back as the same
// number ("3", "3.7", "-0.5", "1e+21"); integral values have no point.
std::u16string numberToText(double number);
// Text to number, after FileMaker's rule: the digits of the text are read in
// order and every other character is skipped; the first "." starts the
// fraction; a "-" before the first digit makes the number negative. A text
// with no digit is 0. So "12 apples" is 12, "a-1b2" is -12, "3.7" is 3.7.
double textToNumber(std::u16string_view text);
// Number to 32-bit integer, as FM_FixPt_AsLong gives it: truncated toward
// zero; values beyond the 32-bit range saturate; not-a-number is 0.
std::int32_t numberToLong(double number);

// ---- Calling functions --------------------------------------------------

// A parameter vector the host owns, for one handler call.
class ParameterVector {
public:
    explicit ParameterVector(const std::vector<Value>& values);
    ~ParameterVector();
    ParameterVector(const ParameterVector&) = delete;
    ParameterVector& operator=(const ParameterVector&) = delete;
    const fmx::DataVect* get() const { return vector_; }

private:
    fmx::DataVect* vector_;
};

// A result value the host owns, in a locale of the host's own.
class ResultValue {
public:
    ResultValue();
    ~ResultValue();
    ResultValue(const ResultValue&) = delete;
    ResultValue& operator=(const ResultValue&) = delete;

    fmx::Data* get() { return data_; }
    Value value() const;
    // The locale the value was created in, and the one it holds now.
    const fmx::Locale* ownLocale() const;
    const fmx::Locale* storedLocale() const;
    // The native type given with the last FM_Data_SetAsText (-1 if none).
    std::int32_t nativeType() const;
    // How many times a plug-in stored into this value.
    int storeCount() const;

private:
    fmx::Data* data_;
};

const fmx::ExprEnv* expressionEnvironment();

struct FunctionEntry {
    std::string pluginId;  // four characters
    std::int16_t id = 0;
    std::u16string name;
    std::u16string prototype;
    std::int16_t minArgs = 0;
    std::int16_t maxArgs = 0;
    std::uint32_t flags = 0;
    ExtPluginType handler = nullptr;
};

// The registered functions, in the order they were registered.
std::vector<FunctionEntry> registeredFunctions();
// Looks a function up by name, ignoring the case of ASCII letters.
std::optional<FunctionEntry> findFunction(std::u16string_view name);
// Every unregister request received, in order: (plug-in ID, function ID).
std::vector<std::pair<std::string, std::int16_t>> unregisterRequests();
// Forgets all registrations and the unregister requests.
void clearRegistry();

struct CallResult {
    FMErrcode returned = 0;
    Value result;
};

// Calls a handler with the given parameters and a fresh result value.
// Parameter counts are not checked here; exceptions of the handler pass.
CallResult callFunction(const FunctionEntry& function, const std::vector<Value>& arguments);

// ---- Accounting and fault injection -------------------------------------

enum class Kind { Text, QuadChar, Locale, Data, DataVect, FixPt, BinaryData, ExprEnv };

// Live objects of one kind, whoever made them.
std::size_t liveObjects(Kind kind);
// Objects a plug-in made with an FM_..._Constructor operation and has not
// yet released with the matching FM_..._Delete.
std::size_t pluginOwnedLive();

// Misuse: releasing an object the plug-in does not own, releasing twice,
// passing an unknown or null object. The operation is refused and counted.
// Changing a text or binary data the plug-in does not own is misuse too.
// A refused operation leaves the error record's code at 0 and returns null
// or zero; FM_Text_Find returns kTextNotFound and an operation with an
// FMErrcode result returns a nonzero code (3), so a refused store never
// reads as a success.
std::size_t misuseCount();
std::string lastMisuse();
void clearMisuse();

// Every FM_... operation is a host call; calls are numbered from 1 after
// resetHostCalls().
std::uint64_t hostCallCount();
void resetHostCalls();

// Makes host call number `callNumber` (counted from the last reset) report
// `code` in its error record. With code 1 or 2 the operation does nothing
// and returns zero, except that a release operation still releases (nothing
// the caller could do would make the object go away otherwise). With any
// other code the operation works as usual and reports the code. Several
// calls may be set to fail; each fault fires once and stays pending across
// resetHostCalls() until its call number comes. A call without a fault
// writes 0 into the code. Under a failure FM_Text_Find returns kTextNotFound.
void failHostCall(std::uint64_t callNumber, std::int32_t code);
void clearHostFault();

// A journal of operation names ("FM_Text_Constructor1", ...) in call order.
void setJournalEnabled(bool enabled);
std::vector<std::string> journal();
void clearJournal();

}  // namespace fmw
