#include "ControlHandlers.h"
#include "RenderFromParameters.h"
#include "functions/ErrorCodes.h"
#include "functions/FileMakerPath.h"
#include "functions/LastError.h"
#include "functions/ResultTexts.h"
#include "functions/SignatureContainer.h"
#include "hostapi/HostAdapters.h"
#include "hostapi/HostCall.h"
#include "hostapi/HostHandles.h"
#include "hostapi/ModuleContextGuard.h"

#include <windows.h>
#include <platform/unique_handle.h>
#include <platform/wide_text.h>

#include <vector>

namespace zera {
namespace {

platform::UniqueFile createOutputFile(const std::u16string& path) {
    return platform::UniqueFile(
        CreateFileW(platform::wide(path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// One write of all the bytes; a short write is a failed one.
bool writeAll(const platform::UniqueFile& file, const std::vector<std::uint8_t>& bytes) {
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
           written == bytes.size();
}

// The bytes of the value's first stream, read back from the host.
std::vector<std::uint8_t> firstStream(const fmx::BinaryData* value) {
    const std::uint32_t size = hostCall([&](HostError& e) { return FM_BinaryData_GetSize(value, 0, e); });
    std::vector<std::uint8_t> bytes(size);
    hostCall([&](HostError& e) { return FM_BinaryData_GetData(value, 0, 0, size, bytes.data(), e); });
    return bytes;
}

}  // namespace

// Writes the signature's image to the caller's path. The file is opened only
// once the image exists, so a failed render never touches it.
ZERA_HANDLER(Do_ZERA_SaveSigToFile) {
    ModuleContextGuard guard;
    LastError::reset();
    BinaryDataHandle value;
    QuadCharHandle gifType('G', 'I', 'F', 'f');
    QuadCharHandle bmpType('B', 'M', 'P', ' ');  // the file gets the first stream (see docs/compatibility.md)

    const auto rendered = renderFromParameters(parameters, result, 3);
    if (!rendered) return 0;
    buildFileOutput(value.get(), gifType.get(), bmpType.get(), rendered->image);

    std::u16string answer = kResultOk;
    const platform::UniqueFile file = createOutputFile(nativePath(rendered->texts[2]));
    // A write that fails after the open (a full disk) is as much a failure
    // to save as an open that fails.
    if (!file || !writeAll(file, firstStream(value.get()))) {
        answer = kResultError;
        LastError::raise(kErrSaveImage);
    }
    setTextResult(result, answer);
    return 0;
}

}  // namespace zera
