// The entry call's block as a host lays it out: bytes written at the host's
// offsets for the system the host runs on. It never uses a plug-in's own
// declaration of the block, so that a plug-in built with a wrong one finds
// nothing where it looks and fails the host's checks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fmw {

// A plug-in's entry point as the host calls it: a C function, __cdecl on
// 32-bit Windows, given the block's address.
#if defined(_WIN32) && !defined(_WIN64)
using ExternCallProc = void(__cdecl*)(void* block);
#else
using ExternCallProc = void (*)(void* block);
#endif

// What the host asks for, in whichCall.
inline constexpr std::uint8_t kWhichCallInit = 0;
inline constexpr std::uint8_t kWhichCallShutdown = 4;
inline constexpr std::uint8_t kWhichCallPreferences = 5;
inline constexpr std::uint8_t kWhichCallGetString = 7;

struct CallBlockLayout {
    std::size_t unusedIdWidth;
    std::size_t entryPoint;
    std::size_t whichCall;
    std::size_t parm1;
    std::size_t parm2;
    std::size_t parm3;
    std::size_t instanceId;
    std::size_t result;
    std::size_t size;
    std::size_t pointerWidth;
};

// extnVersion is a 16-bit value at offset 0 and unusedID follows it at 2 on
// every system; the rest moves with the width of unusedID and of a pointer.
inline constexpr CallBlockLayout kWindows32Layout{2, 4, 9, 11, 12, 16, 20, 24, 40, 4};
inline constexpr CallBlockLayout kWindows64Layout{2, 4, 13, 15, 16, 24, 32, 40, 72, 8};
inline constexpr CallBlockLayout kLinux64Layout{4, 6, 15, 17, 18, 26, 34, 42, 74, 8};

#if defined(_WIN64)
inline constexpr CallBlockLayout kHostLayout = kWindows64Layout;
#elif defined(_WIN32)
inline constexpr CallBlockLayout kHostLayout = kWindows32Layout;
#else
inline constexpr CallBlockLayout kHostLayout = kLinux64Layout;
#endif
static_assert(kHostLayout.pointerWidth == sizeof(void*), "no FileMaker host of this width on this system");

class CallBlockBytes {
public:
    // A block as FileMaker fills it for every call: its interface version,
    // unusedID -1, the entry point's address and the module's handle; every
    // parameter not used by the call is zero.
    CallBlockBytes(std::uint8_t whichCall, std::int16_t interfaceVersion, const void* entryPoint,
                   std::uintptr_t instanceId) {
        bytes_.fill(0);
        put(0, 2, static_cast<std::uint16_t>(interfaceVersion));
        put(2, kHostLayout.unusedIdWidth, ~std::uint64_t{0});
        put(kHostLayout.entryPoint, kHostLayout.pointerWidth, reinterpret_cast<std::uintptr_t>(entryPoint));
        put(kHostLayout.whichCall, 1, whichCall);
        put(kHostLayout.instanceId, kHostLayout.pointerWidth, instanceId);
    }

    void setParm1(std::uint8_t value) { put(kHostLayout.parm1, 1, value); }
    void setParm2(std::uint64_t value) { put(kHostLayout.parm2, kHostLayout.pointerWidth, value); }
    void setParm3(std::uint64_t value) { put(kHostLayout.parm3, kHostLayout.pointerWidth, value); }
    void setResult(std::uint64_t value) { put(kHostLayout.result, kHostLayout.pointerWidth, value); }
    // The result field, read as the signed value a start-up answers.
    std::int64_t result() const {
        const std::uint64_t raw = get(kHostLayout.result, kHostLayout.pointerWidth);
        if (kHostLayout.pointerWidth == 4) return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
        return static_cast<std::int64_t>(raw);
    }

    // Sets every byte, for checks that a call leaves the block alone.
    void fill(std::uint8_t value) { bytes_.fill(value); }
    void setWhichCall(std::uint8_t value) { put(kHostLayout.whichCall, 1, value); }

    // What is passed to FMExternCallProc: the block's first byte. The storage
    // is larger than the block, so that a plug-in writing past its end shows.
    void* data() { return bytes_.data(); }
    const std::array<std::uint8_t, 96>& bytes() const { return bytes_; }

private:
    // Little-endian, as on every system FileMaker runs on.
    void put(std::size_t offset, std::size_t width, std::uint64_t value) {
        for (std::size_t i = 0; i < width; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    std::uint64_t get(std::size_t offset, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{bytes_[offset + i]} << (8 * i);
        return value;
    }

    alignas(8) std::array<std::uint8_t, 96> bytes_{};
};

}  // namespace fmw
