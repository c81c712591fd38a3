// The state a container keeps for the control (its extent and stock
// properties), through IPersistStreamInit and the control's own interface.
#include "control_class.h"

#include <new>
#include <vector>

namespace sigplus {
namespace {

// A saved state longer than this is no state of this control.
constexpr ULONG kMaxSavedState = 64 * 1024;

}  // namespace

// For a control of the dialog's size, 240 x 64 dialog units.
SavedState defaultState() {
    SavedState state;
    state.extentX = 9525;
    state.extentY = 2752;
    state.stockProperties = 9;
    state.foreColour = 0x00000000;
    state.backColour = 0x00D8E9EC;
    return state;
}

HRESULT Control::LoadState(const BYTE* bytes, ULONG size) {
    if (bytes == nullptr) return E_POINTER;
    try {
        auto parsed = SavedState::parse(std::span(bytes, size));
        if (!parsed) return E_INVALIDARG;
        state_ = std::move(*parsed);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT Control::GetState(SavedState* state) {
    if (state == nullptr) return E_POINTER;
    try {
        *state = state_;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT Control::GetClassID(CLSID* clsid) {
    if (clsid == nullptr) return E_POINTER;
    *clsid = CLSID_SigPlus;
    return S_OK;
}

HRESULT Control::GetSizeMax(ULARGE_INTEGER* size) {
    if (size == nullptr) return E_POINTER;
    size->QuadPart = kSavedStateHeaderSize + state_.properties.size();
    return S_OK;
}

HRESULT Control::InitNew() {
    state_ = defaultState();
    return S_OK;
}

HRESULT Control::Load(LPSTREAM stream) {
    if (stream == nullptr) return E_POINTER;
    std::vector<BYTE> bytes;
    try {
        BYTE chunk[512];
        ULONG read = 0;
        do {
            read = 0;
            const HRESULT status = stream->Read(chunk, sizeof chunk, &read);
            if (FAILED(status)) return status;
            bytes.insert(bytes.end(), chunk, chunk + read);
            if (bytes.size() > kMaxSavedState) return E_INVALIDARG;
        } while (read == sizeof chunk);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return LoadState(bytes.data(), static_cast<ULONG>(bytes.size()));
}

HRESULT Control::Save(LPSTREAM stream, BOOL) {
    if (stream == nullptr) return E_POINTER;
    try {
        const std::vector<std::uint8_t> bytes = state_.bytes();
        ULONG written = 0;
        const HRESULT status = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
        if (FAILED(status)) return status;
        return written == bytes.size() ? S_OK : E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace sigplus
