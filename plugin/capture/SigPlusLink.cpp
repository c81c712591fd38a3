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
    platform::ComPtr<IUnknown> unknown;
    openStatus_ = CoCreateInstance(sigplus::kClassId, nullptr, sigplus::kClassContext, IID_IUnknown, unknown.putVoid());
    if (SUCCEEDED(openStatus_)) openStatus_ = OleRun(unknown.get());
    if (SUCCEEDED(openStatus_)) openStatus_ = unknown->QueryInterface(sigplus::kDispatchIid, dispatch_.putVoid());
    if (FAILED(openStatus_)) dispatch_.reset();
    if (SUCCEEDED(openStatus_) && !dispatch_) openStatus_ = E_NOINTERFACE;
}

SigPlusLink::~SigPlusLink() = default;

void SigPlusLink::raiseFailure(HRESULT status, const std::u16string& description) const {
    throw ComError(status, description);
}

void SigPlusLink::raiseOutOfMemory() const { throw std::bad_alloc(); }

}  // namespace zera
