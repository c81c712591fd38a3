// Dialog templates (the extended format dialog resources are compiled to)
// and the initialisation data that goes with them, as the framework reads
// them from a module's resources.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The framework's own resource type for a dialog's initialisation data;
// Win32's headers do not name it.
#ifndef RT_DLGINIT
#define RT_DLGINIT MAKEINTRESOURCEW(240)
#endif

namespace afx {

// A class or title field: absent, a number, or a text.
struct NameOrNumber {
    enum class Kind { None, Number, Text } kind = Kind::None;
    WORD number = 0;
    std::u16string text;
};

struct DialogItem {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrNumber windowClass;  // 0x80 button, 0x81 edit, 0x82 static, ... or a class name
    NameOrNumber title;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    NameOrNumber menu;
    NameOrNumber windowClass;
    std::u16string title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};

// Reads an extended dialog template; nothing if it is malformed or cut.
std::optional<DialogTemplate> parseDialogTemplate(std::span<const BYTE> bytes);

// One entry of a dialog's initialisation data (resource type 240).
struct DialogInitEntry {
    WORD controlId = 0;
    WORD message = 0;
    std::vector<BYTE> data;
};

// Reads the entries up to the terminating zero; nothing if malformed.
std::optional<std::vector<DialogInitEntry>> parseDialogInit(std::span<const BYTE> bytes);

inline constexpr WORD kButtonClass = 0x0080;
inline constexpr WORD kEditClass = 0x0081;
inline constexpr WORD kStaticClass = 0x0082;
inline constexpr DWORD kSetFontStyle = 0x00000040;  // DS_SETFONT
inline constexpr DWORD kShellFontStyle = 0x00000048;  // DS_SHELLFONT

}  // namespace afx
