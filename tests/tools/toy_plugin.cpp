// A small plug-in module for the host program's end-to-end tests: it
// accepts host versions 50 to 255, registers three functions, answers the
// get-string requests from a fixed table, and writes one line to stderr for
// every entry call so that a test can see which calls the host made.
#include "fm_calls.h"
#include "toy_plugin_data.h"

#include <FMWrapper/ExternCall.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

FMX_ENTRY_POINT void FMExternCallProc(HostCallBlock* block);

namespace {

constexpr char kPluginId[] = "TOYP";

FMErrcode FMX_STDCALL echo(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* parameters, fmx::Data* result) {
    std::u16string text = fmcalls::textParameter(parameters, 0);
    if (fmcalls::parameterCount(parameters) > 1) text += fmcalls::textParameter(parameters, 1);
    fmcalls::setText(result, text);
    return 0;
}

FMErrcode FMX_STDCALL picture(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* parameters, fmx::Data* result) {
    std::optional<std::u16string> fileName;
    if (fmcalls::parameterCount(parameters) > 0) fileName = fmcalls::textParameter(parameters, 0);
    fmcalls::setContainer(result, {{{'J', 'P', 'E', 'G'}, toy::pictureJpeg()}, {{'G', 'I', 'F', 'f'}, toy::pictureGif()}},
                          fileName, std::pair<std::int16_t, std::int16_t>{3, 2});
    return 0;
}

FMErrcode FMX_STDCALL fail(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* parameters, fmx::Data*) {
    if (fmcalls::textParameter(parameters, 0) == u"memory") throw std::bad_alloc();
    throw std::runtime_error("toy failure");
}

// The handle the host put into the block must be the one its loader has
// for this very file: that is how a plug-in finds its own resources.
bool isOwnModuleHandle(std::uint64_t moduleHandle) {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&FMExternCallProc), &info) == 0 || info.dli_fname == nullptr) return false;
    void* self = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (self == nullptr) return false;
    const bool same = reinterpret_cast<std::uintptr_t>(self) == moduleHandle;
    dlclose(self);
    return same;
}

std::int32_t startup(const HostCallBlock& block) {
    std::fprintf(stderr, "toy: start-up %d\n", block.hostVersion);
    if (block.hostVersion < 50 || block.hostVersion > 255) return -1;
    if (!isOwnModuleHandle(block.moduleHandle)) return toy::kWrongModuleHandle;
    fmcalls::registerFunction(kPluginId, 1, u"Toy_Echo", u"Toy_Echo( text {; more} )", 1, 2, &echo);
    fmcalls::registerFunction(kPluginId, 2, u"Toy_Picture", u"Toy_Picture( fileName )", 0, 1, &picture);
    fmcalls::registerFunction(kPluginId, 3, u"Toy_Fail", u"Toy_Fail( kind )", 1, 1, &fail);
    return 53;
}

void getString(HostCallBlock& block) {
    const char16_t* text = block.stringId == 128   ? toy::kName
                           : block.stringId == 129 ? toy::kDescription
                           : block.stringId == 131 ? toy::kOptions
                                                   : nullptr;
    if (text == nullptr || block.bufferChars == 0) return;
    auto* buffer = reinterpret_cast<char16_t*>(static_cast<std::uintptr_t>(block.result));
    std::uint32_t n = 0;
    while (text[n] != u'\0' && n + 1 < block.bufferChars) {
        buffer[n] = text[n];
        ++n;
    }
    buffer[n] = u'\0';
}

}  // namespace

FMX_ENTRY_POINT void FMExternCallProc(HostCallBlock* block) {
    switch (block->callType) {
        case kCallStartup:
            block->result = startup(*block);
            break;
        case kCallShutdown:
            std::fprintf(stderr, "toy: shutdown\n");
            for (std::int16_t id = 1; id <= 3; ++id) fmcalls::unregisterFunction(kPluginId, id);
            break;
        case kCallPreferences:
            std::fprintf(stderr, "toy: preferences\n");
            break;
        case kCallGetString:
            getString(*block);
            break;
        default:
            break;
    }
}
