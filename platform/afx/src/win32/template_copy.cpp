#include "template_copy.h"

#include <string>

namespace afx {
namespace {

// Appends little-endian fields; the buffer grows in DWORDs so that the
// result stays aligned for the dialog manager.
class Writer {
public:
    void word(WORD value) {
        bytes_.push_back(static_cast<BYTE>(value & 0xFF));
        bytes_.push_back(static_cast<BYTE>(value >> 8));
    }
    void dword(DWORD value) {
        word(static_cast<WORD>(value & 0xFFFF));
        word(static_cast<WORD>(value >> 16));
    }
    void shortValue(SHORT value) { word(static_cast<WORD>(value)); }
    void byte(BYTE value) { bytes_.push_back(value); }
    void text(const std::u16string& value) {
        for (char16_t unit : value) word(static_cast<WORD>(unit));
        word(0);
    }
    void nameOrNumber(const NameOrNumber& value) {
        switch (value.kind) {
            case NameOrNumber::Kind::None: word(0); return;
            case NameOrNumber::Kind::Number:
                word(0xFFFF);
                word(value.number);
                return;
            case NameOrNumber::Kind::Text: text(value.text); return;
        }
    }
    void alignTo4() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    std::vector<DWORD> dwords() {
        alignTo4();
        std::vector<DWORD> out(bytes_.size() / 4);
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = static_cast<DWORD>(bytes_[4 * i]) | static_cast<DWORD>(bytes_[4 * i + 1]) << 8 |
                     static_cast<DWORD>(bytes_[4 * i + 2]) << 16 | static_cast<DWORD>(bytes_[4 * i + 3]) << 24;
        }
        return out;
    }

private:
    std::vector<BYTE> bytes_;
};

}  // namespace

bool isControlClass(const NameOrNumber& windowClass) {
    return windowClass.kind == NameOrNumber::Kind::Text && !windowClass.text.empty() && windowClass.text.front() == u'{';
}

std::vector<DWORD> templateWithoutControls(const DialogTemplate& layout) {
    WORD kept = 0;
    for (const DialogItem& item : layout.items) {
        if (!isControlClass(item.windowClass)) ++kept;
    }
    Writer out;
    out.word(1);
    out.word(0xFFFF);
    out.dword(layout.helpId);
    out.dword(layout.exStyle);
    out.dword(layout.style);
    out.word(kept);
    out.shortValue(layout.x);
    out.shortValue(layout.y);
    out.shortValue(layout.cx);
    out.shortValue(layout.cy);
    out.nameOrNumber(layout.menu);
    out.nameOrNumber(layout.windowClass);
    out.text(layout.title);
    if ((layout.style & kSetFontStyle) != 0) {
        out.word(layout.pointSize);
        out.word(layout.weight);
        out.byte(layout.italic);
        out.byte(layout.charset);
        out.text(layout.typeface);
    }
    for (const DialogItem& item : layout.items) {
        if (isControlClass(item.windowClass)) continue;
        out.alignTo4();
        out.dword(item.helpId);
        out.dword(item.exStyle);
        out.dword(item.style);
        out.shortValue(item.x);
        out.shortValue(item.y);
        out.shortValue(item.cx);
        out.shortValue(item.cy);
        out.dword(item.id);
        out.nameOrNumber(item.windowClass);
        out.nameOrNumber(item.title);
        out.word(static_cast<WORD>(item.creationData.size()));
        for (BYTE b : item.creationData) out.byte(b);
    }
    return out.dwords();
}

}  // namespace afx
