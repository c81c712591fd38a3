// drvwatch: run while the system is installed. It starts the driver package
// installer "DPInstx86.exe" from the current directory, waits until that
// installer has ended, and tells the user that the driver installation has
// completed. Every way out returns exit code 0, so that the setup that runs
// it never treats the driver step as failed.
//
// The same source builds against the real Win32 API (the 32-bit program is
// the one shipped) and against the Linux platform library.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kTextSize = 256;
constexpr DWORD kNameUnits = 260;
constexpr DWORD kMaxProcesses = 1024;

const char kInstallerFile[] = "\\DPInstx86.exe";
const char kInstallerX86[kTextSize] = "DPInstx86.exe";
const char kInstallerX64[kTextSize] = "DPInstx64.exe";

// Output goes out at once: the dots are the only sign of progress the user
// gets, and the prompts must be on screen before the program waits.
void print(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

void waitForEnter() { (void)std::getchar(); }

// Appends to a fixed text buffer. Text that would not fit leaves the buffer
// as it was and is reported, so nothing is ever written past the buffer.
bool append(char (&buffer)[kTextSize], const char* text) {
    std::size_t used = 0;
    while (used < kTextSize && buffer[used] != '\0') ++used;
    const std::size_t added = std::strlen(text);
    if (used >= kTextSize || added >= kTextSize - used) return false;
    std::memcpy(buffer + used, text, added + 1);
    return true;
}

struct ProcessName {
    char text[kTextSize];
};

// Fills a UTF-16 buffer from ASCII text; WCHAR differs between the two
// platforms, so no wide literal serves both.
void setWide(WCHAR* buffer, const char* ascii) {
    std::size_t i = 0;
    for (; ascii[i] != '\0'; ++i) buffer[i] = static_cast<WCHAR>(ascii[i]);
    buffer[i] = 0;
}

// The base name of the process's main module, or "<unknown>" for a process
// that has ended, may not be opened, or whose modules cannot be listed.
ProcessName ProcessNameOf(DWORD processId) {
    WCHAR wide[kNameUnits];
    setWide(wide, "<unknown>");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process != nullptr) {
        HMODULE module = nullptr;
        DWORD needed = 0;
        if (EnumProcessModules(process, &module, static_cast<DWORD>(sizeof module), &needed) &&
            GetModuleBaseNameW(process, module, wide, kNameUnits) == 0) {
            setWide(wide, "<unknown>");
        }
        CloseHandle(process);
    }
    ProcessName name{};
    // A name too long for the narrow buffer cannot be an installer's.
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, name.text, static_cast<int>(kTextSize), nullptr, nullptr) == 0) {
        std::memcpy(name.text, "<unknown>", sizeof "<unknown>");
    }
    return name;
}

// Appends the installer's file name to the quoted command and to the path,
// and starts the installer if it is there. An empty path stands for a
// current directory that could not be read into its buffer, and a command
// or path that would not fit in its buffer cannot name the installer: both
// are reported as a missing installer.
int LaunchInstaller(char (&command)[kTextSize], char (&path)[kTextSize]) {
    print("32-bit OS detected\n");
    const bool located = path[0] != '\0' && append(command, kInstallerFile) && append(command, "\"") &&
                         append(path, kInstallerFile) && PathFileExistsA(path);
    if (!located) {
        print("Could not locate DPInstx86.exe.\nPress enter to terminate the installer.");
        waitForEnter();
        return 0;
    }
    print(command);
    // The result is not examined: an installer that did not start (the
    // user refused elevation, say) is simply not found running below.
    ShellExecuteA(nullptr, "open", command, nullptr, nullptr, SW_SHOWNORMAL);
    print("\nInstalling driver.");
    return 1;
}

}  // namespace

int main() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = static_cast<DWORD>(sizeof version);
    GetVersionExA(&version);
    if (version.dwMajorVersion < 5) {
        print("This installer requires Windows 2000 or later.\nPress enter to terminate the installer.");
        waitForEnter();
        return 0;
    }

    char directory[kTextSize] = {};
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(kTextSize), directory);
    // A directory too long for the buffer is not written to it at all; one
    // that fits the buffer but not the command is dropped as well.
    char command[kTextSize] = "\"";
    if (length == 0 || length >= kTextSize || !append(command, directory)) directory[0] = '\0';

    if (LaunchInstaller(command, directory) == 0) return 0;

    // One snapshot, taken once: processes that start later, such as a
    // second installer launched by the first, are not waited for.
    DWORD processIds[kMaxProcesses];
    DWORD bytes = 0;
    if (!EnumProcesses(processIds, static_cast<DWORD>(sizeof processIds), &bytes)) return 0;
    const DWORD count = bytes / static_cast<DWORD>(sizeof(DWORD));

    bool running = false;
    do {
        Sleep(500);
        print(".");
        running = false;
        if (count == 0) break;
        for (DWORD i = 0; i < count; ++i) {
            if (processIds[i] == 0) continue;
            const ProcessName name = ProcessNameOf(processIds[i]);
            if (std::strcmp(name.text, kInstallerX86) == 0) running = true;
            if (std::strcmp(name.text, kInstallerX64) == 0) running = true;
        }
    } while (running);

    print("\n\nTarvek QDL Driver Installation process completed.\n");
    Sleep(1500);
    return 0;
}
