#include <shellapi.h>

#include "winplatform/codepages.h"
#include "winplatform/drive_map.h"
#include "winplatform/errors.h"

#include "platform/ascii_case.h"
#include "platform/utf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

inline constexpr INT kStarted = 42;
inline constexpr INT kBadFormat = 11;  // ERROR_BAD_FORMAT, what ShellExecute answers

HINSTANCE result(INT code) { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(code)); }

// Narrow texts are in the ANSI code page; Linux names are UTF-8.
std::string fromAnsi(const char* text) {
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 1) return {};
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
    wide.pop_back();  // the terminator
    return platform::utf16ToUtf8(wide);
}

// Splits a command line into arguments by the rules Windows programs use:
// blanks separate arguments outside double quotes; 2n backslashes before a
// quote stand for n backslashes and the quote opens or closes a quoted part,
// 2n+1 for n backslashes and a literal quote; "" inside quotes is a quote.
std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size()) return arguments;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument.push_back('"');
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument.push_back('"');
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) argument.push_back(line[i++]);
            }
        }
        arguments.push_back(std::move(argument));
    }
}

std::string unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

INT failureFor(int error) {
    switch (error) {
    case ENOENT:
        return SE_ERR_FNF;
    case ENOTDIR:
    case ENAMETOOLONG:
        return SE_ERR_PNF;
    case ENOEXEC:
        return kBadFormat;
    case ENOMEM:
    case EAGAIN:
        return SE_ERR_OOM;
    default:
        return SE_ERR_ACCESSDENIED;
    }
}

// Starts the program in a grandchild whose parent ends at once, so that the
// program is adopted by the system, runs on after the caller, and is never
// left unreaped by a caller that does not wait for it. A pipe that closes on
// exec tells the caller whether exec succeeded.
INT start(const std::string& program, const std::vector<std::string>& arguments,
          const std::optional<std::string>& directory) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return SE_ERR_OOM;
    const pid_t middle = ::fork();
    if (middle < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return SE_ERR_OOM;
    }
    if (middle == 0) {
        // Only async-signal-safe calls from here on.
        ::close(report[0]);
        const pid_t program_pid = ::fork();
        if (program_pid < 0) {
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(1);
        }
        if (program_pid > 0) ::_exit(0);
        if (directory && ::chdir(directory->c_str()) != 0) {
            const int error = errno == ENOENT ? ENOTDIR : errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::execve(program.c_str(), argv.data(), environ);
        const int error = errno;
        (void)!::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) return failureFor(error);
    return kStarted;
}

INT shellExecute(LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory) {
    if (verb != nullptr && *verb != '\0' && !platform::equalsIgnoringAsciiCase(verb, "open")) return SE_ERR_NOASSOC;
    if (file == nullptr || *file == '\0') return SE_ERR_FNF;

    const std::optional<std::string> program = winplatform::hostPath(unquoted(fromAnsi(file)));
    if (!program) return SE_ERR_PNF;
    std::optional<std::string> folder;
    if (directory != nullptr && *directory != '\0') {
        folder = winplatform::hostPath(unquoted(fromAnsi(directory)));
        if (!folder) return SE_ERR_PNF;
    }
    // A relative program name is found from the working directory given.
    std::string located = *program;
    if (folder && !located.empty() && located.front() != '/') located = *folder + "/" + located;

    struct stat info {};
    if (::stat(located.c_str(), &info) != 0) {
        const int error = errno;
        const std::size_t slash = located.rfind('/');
        const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : located.substr(0, slash);
        if (error == ENOENT && ::stat(parent.c_str(), &info) != 0) return SE_ERR_PNF;
        return failureFor(error);
    }
    if (S_ISDIR(info.st_mode)) return SE_ERR_NOASSOC;
    if (::access(located.c_str(), X_OK) != 0) return SE_ERR_ACCESSDENIED;

    const std::vector<std::string> arguments =
        parameters != nullptr ? splitCommandLine(fromAnsi(parameters)) : std::vector<std::string>{};
    return start(located, arguments, folder);
}

}  // namespace

WINPLATFORM_API HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                               INT) {
    const INT code = shellExecute(verb, file, parameters, directory);
    if (code <= 32) {
        SetLastError(code == SE_ERR_FNF            ? ERROR_FILE_NOT_FOUND
                     : code == SE_ERR_PNF          ? ERROR_PATH_NOT_FOUND
                     : code == SE_ERR_OOM          ? ERROR_NOT_ENOUGH_MEMORY
                     : code == SE_ERR_ACCESSDENIED ? ERROR_ACCESS_DENIED
                     // The system's reason: the file is no program.
                     : code == kBadFormat          ? ERROR_BAD_EXE_FORMAT
                                                   : ERROR_INVALID_PARAMETER);
    }
    return result(code);
}
