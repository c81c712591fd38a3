// Appending to the journal, for the control objects.
#pragma once

#include "sigplus/journal.h"

#include <atomic>
#include <cstdint>
#include <string_view>

namespace sigplus {

// What a call answered, as the journal keeps it: nothing, a number, a BOOL
// or a text.
struct JournalResult {
    enum class Kind : std::uint8_t { None, Number, Bool, Text };
    Kind kind = Kind::None;
    std::int32_t number = 0;
    std::u16string_view text;
};

// Whether calls are being recorded: a call site asks first and spends
// nothing on the journal when it is off.
extern std::atomic<bool> journalOn;
inline bool journalling() noexcept { return journalOn.load(std::memory_order_relaxed); }

// Records one call (unless the journal is off or full). The arguments are read from params as the caller passed
// them (the control never writes to its arguments); the result only counts
// for a call that succeeded. Never throws: a call that cannot be recorded
// for want of memory is left out.
void appendJournal(ULONG object, DISPID dispid, CallKind kind, const DISPPARAMS* params, HRESULT status,
                   const JournalResult& result) noexcept;

}  // namespace sigplus
