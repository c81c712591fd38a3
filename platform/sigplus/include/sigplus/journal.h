// The journal of the control: every dispatch call made on any control object
// of the process, in order, refused calls included. It lives in the
// control's library, so a test that links the library reads the calls that
// a module made through COM.
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

SIGPLUS_API std::vector<JournalEntry> journal();
SIGPLUS_API void clearJournal();

// "put PackingMode 0", "method BindAddText Order 1042", "get SignatureText",
// "method dispid 999", "event PenDown"; failures end with " -> 0x80020005".
SIGPLUS_API std::string describe(const JournalEntry& entry);
// describe() of every entry.
SIGPLUS_API std::vector<std::string> journalLines();

}  // namespace sigplus
