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
#include <new>
#include <vector>

namespace {

constexpr std::size_t kTextSize = 256;
constexpr DWORD kNameUnits = 260;
// The snapshot's first buffer; it grows as long as the system fills it.
constexpr std::size_t kFirstSnapshotIds = 1024;
// Far beyond any machine: a system that fills even this is taken at its word.
constexpr std::size_t kMostSnapshotIds = std::size_t{1} << 22;

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
        // A name cut to the buffer comes without a terminator.
        wide[kNameUnits - 1] = 0;
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

// The IDs of all processes. EnumProcesses does not say how many there are:
// a buffer it fills to the last byte may have left some out (the installer,
// started last, most likely), so it is asked again with twice the room
// until its answer leaves room to spare. False if the system refuses.
bool TakeSnapshot(std::vector<DWORD>& processIds) {
    try {
        processIds.resize(kFirstSnapshotIds);
        for (;;) {
            const DWORD room = static_cast<DWORD>(processIds.size() * sizeof(DWORD));
            DWORD bytes = 0;
            if (!EnumProcesses(processIds.data(), room, &bytes)) return false;
            if (bytes < room || processIds.size() >= kMostSnapshotIds) {
                processIds.resize(bytes / sizeof(DWORD));
                return true;
            }
            processIds.resize(processIds.size() * 2);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
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
    std::vector<DWORD> processIds;
    if (!TakeSnapshot(processIds)) return 0;

    bool running = false;
    do {
        Sleep(500);
        print(".");
        running = false;
        if (processIds.empty()) break;
        for (const DWORD processId : processIds) {
            if (processId == 0) continue;
            const ProcessName name = ProcessNameOf(processId);
            if (std::strcmp(name.text, kInstallerX86) == 0) running = true;
            if (std::strcmp(name.text, kInstallerX64) == 0) running = true;
        }
    } while (running);

    print("\n\nTarvek QDL Driver Installation process completed.\n");
    Sleep(1500);
    return 0;
}
