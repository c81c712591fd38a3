// A windowless control object for the length of one operation. Opening it
// initialises COM on the calling thread; closing releases the control and
// uninitialises COM once, on every path.
#pragma once

#include "DispatchCalls.h"

#include <platform/com_init.h>
#include <platform/com_ptr.h>
#include <windows.h>

#include <stdexcept>
#include <string>

namespace zera {

// A failed call into the control: its status and the control's own words.
class ComError : public std::runtime_error {
public:
    ComError(HRESULT status, std::u16string description);
    HRESULT status() const { return status_; }
    const std::u16string& description() const { return description_; }

private:
    HRESULT status_;
    std::u16string description_;
};

class SigPlusLink : public DispatchCalls {
public:
    SigPlusLink();
    ~SigPlusLink() override;
    SigPlusLink(const SigPlusLink&) = delete;
    SigPlusLink& operator=(const SigPlusLink&) = delete;

    bool isOpen() const { return static_cast<bool>(dispatch_); }
    // The status of the first step that failed while opening, S_OK if none.
    HRESULT openStatus() const { return openStatus_; }

protected:
    platform::ComPtr<IDispatch> dispatchInterface() const override { return dispatch_; }
    [[noreturn]] void raiseFailure(HRESULT status, const std::u16string& description) const override;
    [[noreturn]] void raiseOutOfMemory() const override;

private:
    // Declared first, so that the control goes before COM does.
    platform::ScopedComInit com_;
    platform::ComPtr<IDispatch> dispatch_;
    HRESULT openStatus_ = S_OK;
};

}  // namespace zera
