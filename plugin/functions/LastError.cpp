#include "LastError.h"

#include "ErrorCodes.h"

#include <windows.h>
#include <platform/wide_text.h>

#include <memory>

namespace zera {
namespace {

struct Record {
    std::int32_t code = 0;
    std::unique_ptr<std::u16string> message;
    std::unique_ptr<std::u16string> detail;
};

std::unique_ptr<Record> record;

// The table's messages are 8-bit text in the ANSI code page.
std::u16string fromAnsi(std::string_view text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), platform::wide(wide.data()), length);
    }
    return wide;
}

}  // namespace

void LastError::create() { record = std::make_unique<Record>(); }

void LastError::release() {
    if (!record) return;
    record->detail.reset();
    record->message.reset();
    record.reset();
}

bool LastError::exists() { return record != nullptr; }

void LastError::reset() {
    if (!record) return;
    record->message.reset();
    record->detail.reset();
    record->code = kErrSuccess;
    record->message = std::make_unique<std::u16string>(u"Success");  // (see docs/compatibility.md)
}

void LastError::raise(std::int32_t code, const std::u16string& detail) {
    if (!record) return;
    reset();
    record->code = code;
    record->detail = std::make_unique<std::u16string>(detail);
    record->message = std::make_unique<std::u16string>(fromAnsi(errorMessage(code)));
}

std::int32_t LastError::code() { return record ? record->code : kErrSuccess; }

std::optional<std::u16string> LastError::message() {
    if (!record || !record->message) return std::nullopt;
    return *record->message;
}

std::optional<std::u16string> LastError::detail() {
    if (!record || !record->detail) return std::nullopt;
    return *record->detail;
}

}  // namespace zera
