#include "journal_store.h"

#include <cstdio>
#include <mutex>

namespace sigplus {
namespace {

struct Journal {
    std::mutex mutex;
    std::vector<JournalEntry> entries;
};

Journal& store() {
    static Journal instance;
    return instance;
}

const char* kindName(CallKind kind) {
    switch (kind) {
    case CallKind::Get: return "get";
    case CallKind::Put: return "put";
    case CallKind::Method: return "method";
    }
    return "?";
}

}  // namespace

void appendJournal(JournalEntry entry) {
    Journal& j = store();
    std::lock_guard lock(j.mutex);
    j.entries.push_back(std::move(entry));
}

std::vector<JournalEntry> journal() {
    Journal& j = store();
    std::lock_guard lock(j.mutex);
    return j.entries;
}

void clearJournal() {
    Journal& j = store();
    std::lock_guard lock(j.mutex);
    j.entries.clear();
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
