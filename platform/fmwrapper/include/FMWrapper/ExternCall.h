// The host's entry call into a plug-in: the block FileMaker passes to
// FMExternCallProc, what each call asks for, the interface versions and the
// calling conventions of the host's interface. FileMaker fixes all of it;
// the numbers here are its numbers on each system it runs on.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling conventions. They differ only on 32-bit Windows: FileMaker calls a
// registered function __stdcall (the function removes its 16 bytes of
// arguments), while the entry point and the runtime's operations are
// __cdecl. Elsewhere each system has one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define FMX_CDECL __cdecl
#define FMX_STDCALL __stdcall
#else
#define FMX_CDECL
#define FMX_STDCALL
#endif

struct HostCallBlock;

// The plug-in's single export, as the host calls it.
using FMExternCallProcPtr = void(FMX_CDECL*)(HostCallBlock*);

// The block of every entry call. Packed on every system; the field after
// hostVersion is 16-bit on Windows and 32-bit on 64-bit Linux and macOS, and
// every field from stringParam on is as wide as a pointer. The plug-in reads
// and writes only hostVersion, callType, stringId, bufferChars, moduleHandle
// and result; everything else belongs to the host.
#pragma pack(push, 1)
struct HostCallBlock {
    std::int16_t hostVersion;  // the host's interface version (read at start-up)
#if defined(_WIN32)
    std::int16_t unusedId;
#else
    std::int32_t unusedId;
#endif
    FMExternCallProcPtr entryPoint;  // the host's copy of the entry point's address
    char unusedFlag;
    std::uint8_t callType;  // what the host wants: HostCallType
    char unsafeCalls;       // the call does not come on the host's main thread
    std::uint8_t stringId;  // get string: which string; start-up: which FileMaker application
    std::uintptr_t stringParam;   // get string: a Windows language ID; start-up: the host's version text
    std::uintptr_t bufferChars;   // get string: the buffer's capacity in UTF-16 units, terminator included
    std::uintptr_t moduleHandle;  // the plug-in's own module: its instance handle, or its loader's handle
    std::intptr_t result;         // start-up: the plug-in's answer; get string: the buffer's address
    std::uintptr_t unused;
    void* startScript;  // host callbacks the plug-in does not use
    void* currentEnvironment;
};
#pragma pack(pop)

#if defined(_WIN64)
static_assert(offsetof(HostCallBlock, callType) == 13);
static_assert(offsetof(HostCallBlock, stringId) == 15);
static_assert(offsetof(HostCallBlock, stringParam) == 16);
static_assert(offsetof(HostCallBlock, bufferChars) == 24);
static_assert(offsetof(HostCallBlock, moduleHandle) == 32);
static_assert(offsetof(HostCallBlock, result) == 40);
static_assert(sizeof(HostCallBlock) == 72);
#elif defined(_WIN32)
static_assert(offsetof(HostCallBlock, callType) == 9);
static_assert(offsetof(HostCallBlock, stringId) == 11);
static_assert(offsetof(HostCallBlock, stringParam) == 12);
static_assert(offsetof(HostCallBlock, bufferChars) == 16);
static_assert(offsetof(HostCallBlock, moduleHandle) == 20);
static_assert(offsetof(HostCallBlock, result) == 24);
static_assert(sizeof(HostCallBlock) == 40);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(offsetof(HostCallBlock, callType) == 15);
static_assert(offsetof(HostCallBlock, stringId) == 17);
static_assert(offsetof(HostCallBlock, stringParam) == 18);
static_assert(offsetof(HostCallBlock, bufferChars) == 26);
static_assert(offsetof(HostCallBlock, moduleHandle) == 34);
static_assert(offsetof(HostCallBlock, result) == 42);
static_assert(sizeof(HostCallBlock) == 74);
#else
#error "FileMaker runs plug-ins on 32-bit and 64-bit Windows and on 64-bit Linux and macOS only"
#endif
static_assert(offsetof(HostCallBlock, hostVersion) == 0);

// What an entry call asks for. FileMaker also sends idle (1) and, from
// interface version 56, session and file shutdown calls (8, 9), each only
// when the options string asks for it.
enum HostCallType : std::uint8_t {
    kCallStartup = 0,
    kCallShutdown = 4,
    kCallPreferences = 5,
    kCallGetString = 7,
};

// The strings the host asks for with kCallGetString.
inline constexpr std::uint8_t kNameStringRequest = 128;
inline constexpr std::uint8_t kDescriptionStringRequest = 129;  // shown in the host's plug-in preferences
inline constexpr std::uint8_t kOptionsStringRequest = 131;

// Interface versions: the host sends its own in hostVersion at start-up, a
// plug-in answers the version it was built for, or -1 to stay disabled.
inline constexpr std::int16_t kInterfaceVersionFileMaker7 = 50;
inline constexpr std::int16_t kInterfaceVersionFileMaker12 = 53;  // the first with 64-bit plug-ins
inline constexpr std::int16_t kInterfaceVersionMax = 255;
inline constexpr std::int32_t kInterfaceVersionRejected = -1;

// How a plug-in declares its entry point: exported by its C name.
#if defined(_WIN32)
#define FMX_ENTRY_POINT extern "C" __declspec(dllexport)
#else
#define FMX_ENTRY_POINT extern "C" __attribute__((visibility("default")))
#endif
