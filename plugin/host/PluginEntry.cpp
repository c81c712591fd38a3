#include "PluginEntry.h"

#include "DlgConfig.h"
#include "FunctionTable.h"
#include "ModuleBoundary.h"
#include "functions/LastError.h"
#include "functions/Version.h"
#include "hostapi/HostAdapters.h"
#include "hostapi/ModuleContextGuard.h"
#include "resource.h"

#include <windows.h>
#include <platform/wide_text.h>

#include <array>
#include <climits>

namespace zera {
namespace {

HostCallBlock* lastCallBlock = nullptr;

HINSTANCE moduleFromBlock() {
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(lastCallBlock->moduleHandle));
}

// The host asks for the options string with 131; the module holds it as
// string 1 (see docs/compatibility.md).
UINT stringIdFor(std::uint32_t requested) {
    return requested == kOptionsStringRequest ? IDS_OPTIONS : requested;
}

// The host's key for the plug-in's functions, also the first four characters
// of the options string (see docs/compatibility.md).
QuadCharHandle pluginId() { return QuadCharHandle('Z', 'E', 'R', 'A'); }

}  // namespace

HostCallBlock* currentCallBlock() { return lastCallBlock; }

void loadFunctionText(std::int16_t id, fmx::Text* text, bool nameOnly) {
    std::array<char16_t, kLoadBufferChars> buffer{};
    LoadStringW(moduleFromBlock(), stringIdFor(static_cast<std::uint16_t>(id)), platform::wide(buffer.data()),
                static_cast<int>(buffer.size()));
    hostCall([&](HostError& error) { FM_Text_AssignUnicode(text, buffer.data(), error); });
    if (!nameOnly) return;

    TextHandle parenthesis;
    assignText(parenthesis.get(), u"(");
    const std::uint32_t position =
        hostCall([&](HostError& error) { return FM_Text_Find(text, parenthesis.get(), 0, error); });
    const std::uint32_t size = hostCall([&](HostError& error) { return FM_Text_GetSize(text, error); });
    // A string without "(" is a name already; cutting at "not found" would
    // ask the host to delete from a position past the end.
    if (position == kTextNotFound || position > size) return;
    hostCall([&](HostError& error) { FM_Text_DeleteText(text, position, size - position, error); });
}

std::int32_t startup(std::int16_t hostVersion) {
    ModuleContextGuard guard;
    if (hostVersion < kMinHostVersion || hostVersion > kMaxHostVersion) return kRejectedHostVersion;

    const QuadCharHandle id = pluginId();
    TextHandle name;
    TextHandle prototype;
    for (const FunctionRow& row : kFunctionTable) {
        loadFunctionText(row.id, name.get(), true);
        loadFunctionText(row.id, prototype.get(), false);
        hostCall([&](HostError& error) {
            return FM_ExprEnv_RegisterExternalFunction(id.get(), row.id, name.get(), prototype.get(), row.minParams,
                                                       row.maxParams, kFunctionFlags, row.handler, error);
        });
    }
    LastError::create();
    return kPluginInterfaceVersion;
}

void shutdown() {
    ModuleContextGuard guard;
    const QuadCharHandle id = pluginId();
    for (std::int16_t function = kFirstFunctionId; function <= kLastFunctionId; ++function) {
        hostCall([&](HostError& error) { return FM_ExprEnv_UnRegisterExternalFunction(id.get(), function, error); });
    }
    LastError::release();
}

void showPreferences() {
    ModuleContextGuard guard;
    DlgConfig dialog;
    dialog.text = kVersionText;
    dialog.DoModal();
}

void copyStringForHost(const HostCallBlock& block) {
    auto* buffer = reinterpret_cast<char16_t*>(static_cast<std::uintptr_t>(block.result));
    // With a capacity of 0 the string loader would store a pointer in the
    // host's buffer instead of text; a null buffer has nowhere to go.
    if (buffer == nullptr || block.bufferChars == 0) return;
    const int capacity = block.bufferChars > INT_MAX ? INT_MAX : static_cast<int>(block.bufferChars);
    // Win32's string loader leaves the buffer as it was when the string is
    // missing or there is room for the terminator only: the host still gets
    // an empty text.
    buffer[0] = u'\0';
    LoadStringW(moduleFromBlock(), stringIdFor(block.stringId), platform::wide(buffer), capacity);
}

}  // namespace zera

FMX_ENTRY_POINT void FMX_CDECL FMExternCallProc(HostCallBlock* block) {
    if (block == nullptr) return;
    zera::lastCallBlock = block;
    const auto leaveBlock = [] {};
    zera::atModuleBoundary(
        [block] {
            switch (block->callType) {
                case kCallStartup: block->result = zera::startup(block->hostVersion); break;
                case kCallShutdown: zera::shutdown(); break;
                case kCallPreferences: zera::showPreferences(); break;
                case kCallGetString: zera::copyStringForHost(*block); break;
                default: break;
            }
        },
        leaveBlock, leaveBlock);
}
