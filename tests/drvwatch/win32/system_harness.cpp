// The harness on Windows: folders under the user's temporary folder, and
// programs started with CreateProcess, their standard input and output on
// anonymous pipes.
#include "harness.h"

#include <windows.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace drvwatch_test {

namespace fs = std::filesystem;

namespace {

// One argument as CommandLineToArgvW reads it back: quoted when it holds a
// blank or a quote, with backslashes doubled only where a quote follows.
std::string quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}

// The process's environment with the changes, as the block CreateProcessA
// takes: "name=value" texts one after another, ended by an empty one.
std::string environmentBlock(const Environment& changes) {
    std::string block;
    for (const auto& [name, value] : environmentWith(_environ, changes)) block += name + "=" + value + '\0';
    return block + '\0';
}

}  // namespace

TempDir::TempDir(const std::string& prefix) {
    char temp[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = std::string(temp) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(++counter);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = fs::canonical(candidate).string();
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

// Windows knows only whether a file may be written.
void setFileMode(const std::string& path, mode_t mode) {
    ::_chmod(path.c_str(), (mode & 0200) != 0 ? _S_IREAD | _S_IWRITE : _S_IREAD);
}

Process::Process(const std::vector<std::string>& argv, const std::string& folder, const Environment& changes) {
    std::string commandLine;
    for (const std::string& argument : argv) commandLine += (commandLine.empty() ? "" : " ") + quoted(argument);
    std::string environment = environmentBlock(changes);

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inheritable, 0)) throw std::runtime_error("pipe");
    if (!CreatePipe(&outputRead, &outputWrite, &inheritable, 0)) throw std::runtime_error("pipe");
    // The test's own ends stay with the test.
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    startedAt_ = Clock::now();
    const BOOL made = CreateProcessA(argv.at(0).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                     environment.data(), folder.c_str(), &startup, &started);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (!made) {
        CloseHandle(inputWrite);
        CloseHandle(outputRead);
        throw std::runtime_error("cannot start " + argv.at(0) + ": error " + std::to_string(GetLastError()));
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    pid_ = static_cast<pid_t>(started.dwProcessId);
    inputPipe_ = inputWrite;
    outputPipe_ = outputRead;
}

Process::~Process() {
    if (!status_) kill();
    CloseHandle(process_);
    if (inputPipe_ != nullptr) CloseHandle(inputPipe_);
    CloseHandle(outputPipe_);
}

bool Process::readSome(std::chrono::milliseconds slice) {
    const auto deadline = Clock::now() + slice;
    DWORD available = 0;
    while (PeekNamedPipe(outputPipe_, nullptr, 0, nullptr, &available, nullptr) && available == 0) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    if (available == 0) return false;  // the pipe is broken: nobody writes any more
    char buffer[4096];
    DWORD count = 0;
    if (!ReadFile(outputPipe_, buffer, std::min<DWORD>(available, sizeof buffer), &count, nullptr) || count == 0) {
        return false;
    }
    output_.append(buffer, count);
    return true;
}

bool Process::running() {
    if (status_) return false;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return true;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    status_ = static_cast<int>(code);
    drain();
    return false;
}

void Process::type(const std::string& keys) {
    DWORD written = 0;
    if (!WriteFile(inputPipe_, keys.data(), static_cast<DWORD>(keys.size()), &written, nullptr) ||
        written != keys.size()) {
        throw std::runtime_error("cannot type to the program");
    }
}

void Process::closeInput() {
    if (inputPipe_ != nullptr) CloseHandle(inputPipe_);
    inputPipe_ = nullptr;
}

void Process::kill() {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    // An empty value removes the variable from the CRT's environment, as
    // the system's has no empty values to keep either.
    ::_putenv_s(name, value != nullptr ? value : "");
}

ScopedVariable::~ScopedVariable() { ::_putenv_s(name_.c_str(), old_ ? old_->c_str() : ""); }

std::string ownFolder() {
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return fs::path(std::string(path, length)).parent_path().string();
}

}  // namespace drvwatch_test
