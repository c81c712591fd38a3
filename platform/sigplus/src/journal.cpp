#include "journal_store.h"

#include "members.h"
#include "process_lock.h"

#include <oleauto.h>
#include <platform/utf.h>
#include <platform/wide_text.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace sigplus {
namespace {

// Calls are many and mostly take and give small integers, so the journal
// keeps each call as a few bytes in one growing log, and its texts end to
// end in one text pool; the words of the journal are made only when
// somebody asks for them. A call in the log:
//
//   head     kind (bits 0-1), status other than S_OK (bit 2), object other
//            than the previous call's (bit 3), result tag (bits 4-7)
//   [object] varint, with bit 3
//   dispid   zigzag varint
//   [status] varint of the 32 bits, with bit 2
//   count    varint, the number of arguments
//   per argument, in call order: a tag, then its payload
//   the result's payload
//
// Payloads: a number as a zigzag varint, a VARTYPE as a varint, a text as
// the varint of its length in UTF-16 units (the texts follow each other in
// the pool, so the offset is the sum of the lengths before); true, false
// and none have none.
enum class Tag : std::uint8_t { None, Number, True, False, VarType, Text };

struct Journal {
    ProcessLock mutex;
    std::vector<std::uint8_t> log;
    std::u16string texts;
    std::size_t count = 0;
    std::size_t dropped = 0;
    std::size_t limit = kDefaultJournalLimit;
    ULONG lastObject = 0;
};


Journal& store() {
    static Journal instance;
    return instance;
}

// The longest a call with at most kSmallCall arguments takes in the log.
inline constexpr UINT kSmallCall = 7;
inline constexpr std::size_t kMaxVarint = 5;
inline constexpr std::size_t kSmallCallBytes = 1 + 3 * kMaxVarint + kMaxVarint + kSmallCall * (1 + kMaxVarint) + kMaxVarint;

class Writer {
public:
    explicit Writer(std::uint8_t* out) : begin_(out), at_(out) {}
    void byte(std::uint8_t b) { *at_++ = b; }
    void varint(std::uint32_t v) {
        while (v >= 0x80) {
            *at_++ = static_cast<std::uint8_t>(v | 0x80);
            v >>= 7;
        }
        *at_++ = static_cast<std::uint8_t>(v);
    }
    void zigzag(std::int32_t v) {
        varint((static_cast<std::uint32_t>(v) << 1) ^ static_cast<std::uint32_t>(v >> 31));
    }
    std::size_t size() const { return static_cast<std::size_t>(at_ - begin_); }

private:
    std::uint8_t* begin_;
    std::uint8_t* at_;
};

class Reader {
public:
    explicit Reader(const std::uint8_t* at) : at_(at) {}
    std::uint8_t byte() { return *at_++; }
    std::uint32_t varint() {
        std::uint32_t v = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t b = *at_++;
            v |= static_cast<std::uint32_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) return v;
        }
    }
    std::int32_t zigzag() {
        const std::uint32_t v = varint();
        return static_cast<std::int32_t>((v >> 1) ^ (0u - (v & 1)));
    }
    const std::uint8_t* position() const { return at_; }

private:
    const std::uint8_t* at_;
};

std::u16string_view bstrView(BSTR text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(platform::utf16(text), SysStringLen(text));
}

void writeArgument(Writer& w, std::u16string& texts, const VARIANT& v) {
    switch (v.vt) {
    case VT_I2:
        w.byte(static_cast<std::uint8_t>(Tag::Number));
        w.zigzag(v.iVal);
        return;
    case VT_I4:
        w.byte(static_cast<std::uint8_t>(Tag::Number));
        w.zigzag(v.lVal);
        return;
    case VT_BOOL: w.byte(static_cast<std::uint8_t>(v.boolVal != VARIANT_FALSE ? Tag::True : Tag::False)); return;
    case VT_BSTR: {
        const std::u16string_view text = bstrView(v.bstrVal);
        texts.append(text);
        w.byte(static_cast<std::uint8_t>(Tag::Text));
        w.varint(static_cast<std::uint32_t>(text.size()));
        return;
    }
    case VT_BSTR | VT_BYREF:
        if (v.pbstrVal != nullptr) {
            const std::u16string_view text = bstrView(*v.pbstrVal);
            texts.append(text);
            w.byte(static_cast<std::uint8_t>(Tag::Text));
            w.varint(static_cast<std::uint32_t>(text.size()));
            return;
        }
        break;
    default: break;
    }
    w.byte(static_cast<std::uint8_t>(Tag::VarType));
    w.varint(v.vt);
}

Tag resultTag(const JournalResult& result) {
    switch (result.kind) {
    case JournalResult::Kind::None: return Tag::None;
    case JournalResult::Kind::Number: return Tag::Number;
    case JournalResult::Kind::Bool: return result.number != 0 ? Tag::True : Tag::False;
    case JournalResult::Kind::Text: return Tag::Text;
    }
    return Tag::None;
}

// The text of a value of the log; moves the text offset past its text.
std::string readValue(Reader& r, Tag tag, std::u16string_view texts, std::size_t& textAt) {
    switch (tag) {
    case Tag::None: return {};
    case Tag::Number: return std::to_string(r.zigzag());
    case Tag::True: return "true";
    case Tag::False: return "false";
    case Tag::VarType: return "vt=" + std::to_string(r.varint());
    case Tag::Text: {
        const std::size_t length = r.varint();
        const std::u16string_view text = texts.substr(textAt, length);
        textAt += length;
        return platform::utf16ToUtf8(text);
    }
    }
    return {};
}

const char* kindName(CallKind kind) {
    switch (kind) {
    case CallKind::Get: return "get";
    case CallKind::Put: return "put";
    case CallKind::Method: return "method";
    case CallKind::Event: return "event";
    }
    return "?";
}

}  // namespace

std::atomic<bool> journalOn{false};

void appendJournal(ULONG object, DISPID dispid, CallKind kind, const DISPPARAMS* params, HRESULT status,
                   const JournalResult& result) noexcept {
    if (!journalling()) return;
    const UINT count = params != nullptr && params->rgvarg != nullptr ? params->cArgs : 0;
    const Tag tag = SUCCEEDED(status) ? resultTag(result) : Tag::None;
    Journal& j = store();
    const ProcessLock::Held lock(j.mutex);
    if (j.count >= j.limit || j.texts.size() >= kJournalTextLimit) {
        ++j.dropped;
        return;
    }
    const std::size_t logBefore = j.log.size();
    const std::size_t textsBefore = j.texts.size();
    try {
        // A call is written in place at the end of the log: room for the
        // longest it can take first, the unused room given back after.
        const std::size_t room = count <= kSmallCall ? kSmallCallBytes : kSmallCallBytes + count * (1 + kMaxVarint);
        if (j.log.capacity() - logBefore < room) j.log.reserve(std::max(2 * j.log.capacity(), logBefore + room));
        j.log.resize(logBefore + room);
        Writer w(j.log.data() + logBefore);
        const bool otherObject = object != j.lastObject || j.count == 0;
        w.byte(static_cast<std::uint8_t>(static_cast<unsigned>(kind) | (status != S_OK ? 4u : 0u) |
                                         (otherObject ? 8u : 0u) | (static_cast<unsigned>(tag) << 4)));
        if (otherObject) w.varint(object);
        w.zigzag(dispid);
        if (status != S_OK) w.varint(static_cast<std::uint32_t>(status));
        w.varint(count);
        // In call order: the last argument comes first.
        for (UINT i = count; i-- > 0;) writeArgument(w, j.texts, params->rgvarg[i]);
        switch (tag) {
        case Tag::Number: w.zigzag(result.number); break;
        case Tag::Text:
            j.texts.append(result.text);
            w.varint(static_cast<std::uint32_t>(result.text.size()));
            break;
        default: break;
        }
        j.log.resize(logBefore + w.size());
        j.lastObject = object;
        ++j.count;
    } catch (...) {
        j.log.resize(logBefore);
        j.texts.resize(textsBefore);
    }
}

std::vector<JournalEntry> journal() {
    Journal& j = store();
    const ProcessLock::Held lock(j.mutex);
    std::vector<JournalEntry> entries;
    entries.reserve(j.count);
    Reader r(j.log.data());
    std::size_t textAt = 0;
    ULONG object = 0;
    for (std::size_t n = 0; n < j.count; ++n) {
        const std::uint8_t head = r.byte();
        JournalEntry entry;
        if ((head & 8u) != 0) object = r.varint();
        entry.object = object;
        entry.dispid = r.zigzag();
        entry.kind = static_cast<CallKind>(head & 3u);
        if (entry.kind == CallKind::Event) {
            if (entry.dispid == dispid::PenDown) entry.member = "PenDown";
        } else if (const Member* member = findMember(entry.dispid)) {
            entry.member = member->name;
        }
        entry.status = (head & 4u) != 0 ? static_cast<HRESULT>(r.varint()) : S_OK;
        const std::uint32_t count = r.varint();
        entry.arguments.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto tag = static_cast<Tag>(r.byte());
            entry.arguments.push_back(readValue(r, tag, j.texts, textAt));
        }
        entry.result = readValue(r, static_cast<Tag>(head >> 4), j.texts, textAt);
        entries.push_back(std::move(entry));
    }
    return entries;
}

void setJournalEnabled(bool on) { journalOn.store(on); }

bool journalEnabled() { return journalling(); }

void setJournalLimit(std::size_t calls) {
    Journal& j = store();
    const ProcessLock::Held lock(j.mutex);
    j.limit = calls;
}

std::size_t journalDropped() {
    Journal& j = store();
    const ProcessLock::Held lock(j.mutex);
    return j.dropped;
}

void clearJournal() {
    Journal& j = store();
    const ProcessLock::Held lock(j.mutex);
    // The capacity stays: a journal cleared between runs fills up again.
    j.log.clear();
    j.texts.clear();
    j.count = 0;
    j.dropped = 0;
    j.lastObject = 0;
}

std::string describe(const JournalEntry& entry) {
    std::string line = kindName(entry.kind);
    line += ' ';
    line += entry.member.empty() ? "dispid " + std::to_string(entry.dispid) : entry.member;
    for (const std::string& argument : entry.arguments) {
        line += ' ';
        line += argument;
    }
    if (FAILED(entry.status)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(entry.status));
        line += " -> ";
        line += code;
    }
    return line;
}

std::vector<std::string> journalLines() {
    std::vector<std::string> lines;
    for (const JournalEntry& entry : journal()) lines.push_back(describe(entry));
    return lines;
}

}  // namespace sigplus
