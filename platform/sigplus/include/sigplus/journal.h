// The journal of the control: the dispatch calls made on any control object
// of the process, in order, refused calls included. It lives in the
// control's library, so a test that links the library reads the calls that
// a module made through COM. It is off until a test or a tool turns it on
// (a process that renders all day must not keep every call), and when on it
// keeps no more than its limit: later calls are counted, not kept.
#pragma once

#include "sigplus/control.h"

#include <string>
#include <vector>

namespace sigplus {

// Event: an event the control fired into its container (PenDown).
enum class CallKind { Get, Put, Method, Event };

struct JournalEntry {
    ULONG object = 0;  // ISigPlusControl::ObjectNumber of the callee
    DISPID dispid = 0;
    std::string member;  // empty for a DISPID the control does not have
    CallKind kind = CallKind::Method;
    // In call order: numbers in decimal, BOOL as "true"/"false", texts as
    // UTF-8; an argument of an unexpected type as "vt=N".
    std::vector<std::string> arguments;
    HRESULT status = S_OK;
    std::string result;  // the value returned or got, as text; empty if none
};

SIGPLUS_API void setJournalEnabled(bool enabled);
SIGPLUS_API bool journalEnabled();
// The most calls kept until the journal is cleared (kDefaultJournalLimit
// unless set); the journal's texts are bounded by kJournalTextLimit units.
inline constexpr std::size_t kDefaultJournalLimit = 100000;
inline constexpr std::size_t kJournalTextLimit = 8u << 20;
SIGPLUS_API void setJournalLimit(std::size_t calls);
// Calls left out since the journal was last cleared, for want of room.
SIGPLUS_API std::size_t journalDropped();

SIGPLUS_API std::vector<JournalEntry> journal();
// Empties the journal and its count of calls left out; on or off stays.
SIGPLUS_API void clearJournal();

// "put PackingMode 0", "method BindAddText Order 1042", "get SignatureText",
// "method dispid 999", "event PenDown"; failures end with " -> 0x80020005".
SIGPLUS_API std::string describe(const JournalEntry& entry);
// describe() of every entry.
SIGPLUS_API std::vector<std::string> journalLines();

}  // namespace sigplus
