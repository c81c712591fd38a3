#include "SigPlusLink.h"

#include "SigPlusMembers.h"

#include <cstdio>
#include <new>

namespace zera {
namespace {

std::string describe(HRESULT status) {
    char text[32];
    std::snprintf(text, sizeof text, "COM error 0x%08X", static_cast<unsigned>(status));
    return text;
}

}  // namespace

ComError::ComError(HRESULT status, std::u16string description)
    : std::runtime_error(describe(status)), status_(status), description_(std::move(description)) {}

SigPlusLink::SigPlusLink() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE (already initialised here) still counts and must be paired.
    comInitialised_ = SUCCEEDED(init);

    IUnknown* unknown = nullptr;
    openStatus_ = CoCreateInstance(sigplus::kClassId, nullptr, sigplus::kClassContext, IID_IUnknown,
                                   reinterpret_cast<void**>(&unknown));
    if (SUCCEEDED(openStatus_)) {
        openStatus_ = OleRun(unknown);
        if (SUCCEEDED(openStatus_)) {
            openStatus_ = unknown->QueryInterface(sigplus::kDispatchIid, reinterpret_cast<void**>(&dispatch_));
            if (FAILED(openStatus_)) dispatch_ = nullptr;
        }
    }
    if (unknown != nullptr) unknown->Release();
    if (SUCCEEDED(openStatus_) && dispatch_ == nullptr) openStatus_ = E_NOINTERFACE;
}

SigPlusLink::~SigPlusLink() {
    if (dispatch_ != nullptr) dispatch_->Release();
    if (comInitialised_) CoUninitialize();
}

void SigPlusLink::raiseFailure(HRESULT status, const std::u16string& description) const {
    throw ComError(status, description);
}

void SigPlusLink::raiseOutOfMemory() const { throw std::bad_alloc(); }

}  // namespace zera
