// A stand-in for the signature pad control that records every call and can
// be told to answer badly, registered as the control's class for one test.
// The real replacement control is tested elsewhere; this one lets tests
// reach the failure paths a working control never takes.
#pragma once

#include "capture/SigPlusMembers.h"

#include <windows.h>

namespace testsupport {
class ScopedClassObject;
}

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// More interfaces for each object of the class, answered through its
// QueryInterface (the control's identity, reference count and dispatch
// interface stay its own); deleted with the object.
class FakeControlExtension {
public:
    virtual ~FakeControlExtension() = default;
    virtual void* find(REFIID riid) = 0;  // nothing for an interface it does not add
};

struct FakeControlScript;
using FakeControlExtender =
    std::function<FakeControlExtension*(IDispatch* control, FakeControlScript& script, std::vector<std::string>& calls)>;

struct FakeControlScript {
    std::int16_t signaturePoints = 42;
    std::int16_t inkPoints = 0;  // what InkPointCount answers
    std::u16string signatureText = u"SIG1:fake";
    std::int32_t bufferSize = 16;
    std::vector<std::uint8_t> image;  // what RenderBufferByte answers; filled from bufferSize if empty
    // Members that fail: DISPID -> how many successful calls before failing
    // (0 = the first call fails).
    std::map<DISPID, int> failing;
    bool answerDispatch = true;  // QueryInterface for the dispatch interface
    int touchedHotSpot = -1;     // the one HotSpotTouched answers 1 for, until HotSpotReset
    FakeControlExtender extender;
};

class FakeControlRegistration {
public:
    explicit FakeControlRegistration(FakeControlScript script = {});
    ~FakeControlRegistration();
    FakeControlRegistration(const FakeControlRegistration&) = delete;
    FakeControlRegistration& operator=(const FakeControlRegistration&) = delete;

    // Every call made on every object of the class, in order, named and
    // written as the control's own journal does: "put PackingMode 0",
    // "method BindAddText Order 1042", "get SignatureText", an argument of
    // another type than the plug-in's member table gives as "vt=N", and a
    // refused call ending in " -> 0x80020009".
    const std::vector<std::string>& calls() const;
    int objectsCreated() const;
    int objectsAlive() const;
    FakeControlScript& script();

private:
    std::unique_ptr<testsupport::ScopedClassObject> registration_;
};
