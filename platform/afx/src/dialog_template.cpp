#include <afxtemplate.h>

namespace afx {
namespace {

// Reads little-endian fields from a bounded byte span; any read past the
// end marks the reader as failed and yields zeros.
class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return offset_; }

    WORD word() {
        if (!need(2)) return 0;
        const WORD value = static_cast<WORD>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return value;
    }
    DWORD dword() {
        const DWORD low = word();
        const DWORD high = word();
        return low | (high << 16);
    }
    SHORT shortValue() { return static_cast<SHORT>(word()); }
    BYTE byte() {
        if (!need(1)) return 0;
        return bytes_[offset_++];
    }
    std::u16string text() {
        std::u16string out;
        for (;;) {
            const WORD unit = word();
            if (!ok_ || unit == 0) return out;
            out.push_back(static_cast<char16_t>(unit));
        }
    }
    NameOrNumber nameOrNumber() {
        NameOrNumber out;
        const WORD first = word();
        if (!ok_ || first == 0) return out;
        if (first == 0xFFFF) {
            out.kind = NameOrNumber::Kind::Number;
            out.number = word();
            return out;
        }
        out.kind = NameOrNumber::Kind::Text;
        out.text.push_back(static_cast<char16_t>(first));
        out.text += text();
        return out;
    }
    std::vector<BYTE> bytes(std::size_t count) {
        if (!need(count)) return {};
        std::vector<BYTE> out(bytes_.begin() + static_cast<std::ptrdiff_t>(offset_),
                              bytes_.begin() + static_cast<std::ptrdiff_t>(offset_ + count));
        offset_ += count;
        return out;
    }
    void alignTo4() {
        const std::size_t aligned = (offset_ + 3) & ~static_cast<std::size_t>(3);
        // The last item of a template may end without its padding.
        offset_ = aligned <= bytes_.size() ? aligned : bytes_.size();
    }

private:
    bool need(std::size_t count) {
        if (!ok_ || count > bytes_.size() - offset_) {
            ok_ = false;
            return false;
        }
        return true;
    }

    std::span<const BYTE> bytes_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(std::span<const BYTE> bytes) {
    Reader in(bytes);
    const WORD version = in.word();
    const WORD signature = in.word();
    if (!in.ok() || version != 1 || signature != 0xFFFF) return std::nullopt;

    DialogTemplate dialog;
    dialog.helpId = in.dword();
    dialog.exStyle = in.dword();
    dialog.style = in.dword();
    const WORD itemCount = in.word();
    dialog.x = in.shortValue();
    dialog.y = in.shortValue();
    dialog.cx = in.shortValue();
    dialog.cy = in.shortValue();
    dialog.menu = in.nameOrNumber();
    dialog.windowClass = in.nameOrNumber();
    dialog.title = in.text();
    if ((dialog.style & kSetFontStyle) != 0) {
        dialog.pointSize = in.word();
        dialog.weight = in.word();
        dialog.italic = in.byte();
        dialog.charset = in.byte();
        dialog.typeface = in.text();
    }
    if (!in.ok()) return std::nullopt;

    for (WORD i = 0; i < itemCount; ++i) {
        in.alignTo4();
        DialogItem item;
        item.helpId = in.dword();
        item.exStyle = in.dword();
        item.style = in.dword();
        item.x = in.shortValue();
        item.y = in.shortValue();
        item.cx = in.shortValue();
        item.cy = in.shortValue();
        item.id = in.dword();
        item.windowClass = in.nameOrNumber();
        item.title = in.nameOrNumber();
        const WORD extra = in.word();
        item.creationData = in.bytes(extra);
        if (!in.ok()) return std::nullopt;
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

std::optional<std::vector<DialogInitEntry>> parseDialogInit(std::span<const BYTE> bytes) {
    Reader in(bytes);
    std::vector<DialogInitEntry> entries;
    for (;;) {
        const WORD controlId = in.word();
        if (!in.ok()) return std::nullopt;
        if (controlId == 0) return entries;
        DialogInitEntry entry;
        entry.controlId = controlId;
        entry.message = in.word();
        const DWORD length = in.dword();
        entry.data = in.bytes(length);
        if (!in.ok()) return std::nullopt;
        entries.push_back(std::move(entry));
    }
}

}  // namespace afx
