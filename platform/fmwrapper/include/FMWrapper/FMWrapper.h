// The host's plug-in runtime: the operations a calculation plug-in calls to
// create, read, change and release host objects.
//
// Every operation takes a HostError as its last argument. The caller sets
// version 1 and code 0 before the call; afterwards code 0 means success,
// 1 that the host ran out of memory and 2 that it failed for another reason.
// Any other code is not an error condition. When an operation reports 1 or 2
// it has done nothing and returns a null pointer or zero.
#pragma once

#include "FMWrapper/ExternCall.h"

#include <cstdint>

// The operations are C functions with the __cdecl convention on every
// system.
#if defined(_WIN32) && defined(FMWRAPPER_BUILDING_DLL)
// The runtime DLL itself; its exports are listed in FMWrapper.def.
#define FMX_API extern "C" FMX_CDECL
#elif defined(_WIN32)
#define FMX_API extern "C" __declspec(dllimport) FMX_CDECL
#else
#define FMX_API extern "C" __attribute__((visibility("default")))
#endif

struct HostError {
    int32_t version;
    int32_t code;
};

inline constexpr int32_t kHostErrorVersion = 1;
inline constexpr int32_t kHostErrOutOfMemory = 1;
inline constexpr int32_t kHostErrUnknown = 2;

namespace fmx {
// Opaque host objects. The plug-in only ever holds pointers to them.
struct Text;
struct QuadChar;
struct Locale;
struct Data;
struct DataVect;
struct FixPt;
struct BinaryData;
struct ExprEnv;
}  // namespace fmx

using FMErrcode = int16_t;

inline constexpr int32_t kEncodingNative = 0;
inline constexpr int32_t kTextNative = 1;
// Returned by FM_Text_Find when the text does not occur.
inline constexpr uint32_t kTextNotFound = 0xFFFFFFFFu;

// An external function's handler: function ID, expression environment,
// parameter vector, result value. Returns a host error code (0 = none).
// The host passes the last three by reference, which is a pointer in the
// binary interface; on 32-bit Windows the handler is __stdcall.
using ExtPluginType = FMErrcode(FMX_STDCALL*)(int16_t functionId, const fmx::ExprEnv* env,
                                              const fmx::DataVect* parameters, fmx::Data* result);

// Flags of a registration. kMayEvaluateOnServer lets a stored calculation be
// evaluated where the host has no user interface; any of the display bits
// lists the function in the host's calculation dialogs.
inline constexpr uint32_t kMayEvaluateOnServer = 0x00000001u;
inline constexpr uint32_t kDisplayInAllDialogs = 0x0000FF00u;

// Texts (UTF-16 code units).
FMX_API fmx::Text* FM_Text_Constructor1(HostError& error);
FMX_API void FM_Text_Delete(fmx::Text* text, HostError& error);
FMX_API void FM_Text_AssignUnicode(fmx::Text* text, const char16_t* zeroTerminated, HostError& error);
FMX_API void FM_Text_Assign(fmx::Text* text, const char* zeroTerminated, int32_t encoding,
                            HostError& error);
FMX_API uint32_t FM_Text_GetSize(const fmx::Text* text, HostError& error);
FMX_API void FM_Text_GetUnicode(const fmx::Text* text, char16_t* destination, uint32_t position,
                                uint32_t count, HostError& error);
FMX_API uint32_t FM_Text_Find(const fmx::Text* text, const fmx::Text* pattern, uint32_t position,
                              HostError& error);
FMX_API void FM_Text_DeleteText(fmx::Text* text, uint32_t position, uint32_t count, HostError& error);

// Four-character codes.
FMX_API fmx::QuadChar* FM_QuadChar_Constructor2(char c0, char c1, char c2, char c3, HostError& error);
FMX_API void FM_QuadChar_Delete(fmx::QuadChar* quadChar, HostError& error);

// Data values.
FMX_API const fmx::Locale* FM_Data_GetLocale(const fmx::Data* data, HostError& error);
FMX_API FMErrcode FM_Data_SetAsText(fmx::Data* data, const fmx::Text* text, const fmx::Locale* locale,
                                    int32_t nativeType, HostError& error);
// Answers nothing: a failure shows only in the error record.
FMX_API void FM_Data_SetBinaryData(fmx::Data* data, const fmx::BinaryData* binaryData, bool forceByRef,
                                   HostError& error);

// Parameter vectors. Texts and numbers handed out are borrowed from the vector.
FMX_API uint32_t FM_DataVect_Size(const fmx::DataVect* vector, HostError& error);
FMX_API const fmx::Text* FM_DataVect_AtAsText(const fmx::DataVect* vector, uint32_t position,
                                              HostError& error);
FMX_API const fmx::FixPt* FM_DataVect_AtAsNumber(const fmx::DataVect* vector, uint32_t position,
                                                 HostError& error);

// Fixed-point numbers.
FMX_API int32_t FM_FixPt_AsLong(const fmx::FixPt* number, HostError& error);

// Binary data of container values: typed streams.
FMX_API fmx::BinaryData* FM_BinaryData_Constructor1(HostError& error);
FMX_API void FM_BinaryData_Delete(fmx::BinaryData* binaryData, HostError& error);
FMX_API FMErrcode FM_BinaryData_Add(fmx::BinaryData* binaryData, const fmx::QuadChar* streamType,
                                    uint32_t byteCount, const void* bytes, HostError& error);
FMX_API FMErrcode FM_BinaryData_AddFNAMData(fmx::BinaryData* binaryData, const fmx::Text* fileName,
                                            HostError& error);
FMX_API FMErrcode FM_BinaryData_AddSIZEData(fmx::BinaryData* binaryData, int16_t width, int16_t height,
                                            HostError& error);
FMX_API uint32_t FM_BinaryData_GetSize(const fmx::BinaryData* binaryData, int32_t streamPosition,
                                       HostError& error);
FMX_API FMErrcode FM_BinaryData_GetData(const fmx::BinaryData* binaryData, int32_t streamPosition,
                                        uint32_t offset, uint32_t byteCount, void* destination,
                                        HostError& error);

// The calculation engine's registry of external functions.
FMX_API FMErrcode FM_ExprEnv_RegisterExternalFunction(const fmx::QuadChar* pluginId, int16_t functionId,
                                                      const fmx::Text* name, const fmx::Text* prototype,
                                                      int16_t minArgs, int16_t maxArgs, uint32_t flags,
                                                      ExtPluginType handler, HostError& error);
FMX_API FMErrcode FM_ExprEnv_UnRegisterExternalFunction(const fmx::QuadChar* pluginId,
                                                        int16_t functionId, HostError& error);
