// The block the host passes to FMExternCallProc on every entry call.
//
// The host fixes the layout; it is packed. The plug-in reads and writes only
// the fields named here, every other byte belongs to the host.
//
// 32-bit layout (the Windows deliverable), 28 bytes:
//   offset  0  int16   hostVersion    start-up: the host's interface version
//   offset  9  uint8   callType       0 start-up, 4 shutdown, 5 preferences, 7 get string
//   offset 11  uint8   stringId       get string: which string
//   offset 12  uint32  stringParam    get string: a further argument, not read
//   offset 16  uint32  bufferChars    get string: buffer capacity in UTF-16 units
//   offset 20  uint32  moduleHandle   the plug-in module's instance handle
//   offset 24  int32   result         start-up: the answer; get string: the buffer address
//
// 64-bit layout (the Linux stand-in host), 40 bytes: the same fields up to
// offset 19; moduleHandle and result are pointer-wide and move to offsets 24
// and 32, with offsets 20 to 23 reserved for the host. Start-up writes its
// answer as a signed value sign-extended to the field's width.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct HostCallBlock {
    std::int16_t hostVersion;
    std::uint8_t hostReserved0[7];
    std::uint8_t callType;
    std::uint8_t hostReserved1;
    std::uint8_t stringId;
    std::uint32_t stringParam;
    std::uint32_t bufferChars;
#if UINTPTR_MAX == 0xFFFFFFFFu
    std::uint32_t moduleHandle;
    std::int32_t result;
#else
    std::uint32_t hostReserved2;
    std::uint64_t moduleHandle;
    std::int64_t result;
#endif
};
#pragma pack(pop)

static_assert(offsetof(HostCallBlock, hostVersion) == 0);
static_assert(offsetof(HostCallBlock, callType) == 9);
static_assert(offsetof(HostCallBlock, stringId) == 11);
static_assert(offsetof(HostCallBlock, stringParam) == 12);
static_assert(offsetof(HostCallBlock, bufferChars) == 16);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(HostCallBlock, moduleHandle) == 20);
static_assert(offsetof(HostCallBlock, result) == 24);
static_assert(sizeof(HostCallBlock) == 28);
#else
static_assert(offsetof(HostCallBlock, moduleHandle) == 24);
static_assert(offsetof(HostCallBlock, result) == 32);
static_assert(sizeof(HostCallBlock) == 40);
#endif

enum HostCallType : std::uint8_t {
    kCallStartup = 0,
    kCallShutdown = 4,
    kCallPreferences = 5,
    kCallGetString = 7,
};

// The module's single export.
#if defined(_WIN32)
#define ZERA_EXPORT extern "C" __declspec(dllexport)
#else
#define ZERA_EXPORT extern "C" __attribute__((visibility("default")))
#endif
using FMExternCallProcPtr = void (*)(HostCallBlock*);
