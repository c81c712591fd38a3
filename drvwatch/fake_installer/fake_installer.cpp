// A stand-in for the driver package installer, so that drvwatch can be
// watched against real processes. It takes no arguments (drvwatch passes
// none); what it does comes from a file beside it, named as the program with
// ".cfg" in place of ".exe" (so copies under other names are set up apart),
// one "key value" line each:
//
//   run_ms N          end N milliseconds after starting
//   until FILE        end once FILE exists
//   child PROGRAM     start PROGRAM, which then runs on by itself ...
//   child_after FILE  ... once FILE exists (without it: at once)
//   started FILE      create FILE once running
//   ended FILE        create FILE just before ending
//
// Names are relative to the program's folder. With neither run_ms nor until
// it ends at once; waiting for a file never lasts beyond two minutes, so a
// test that fails half-way leaves nothing running for long.
#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Plan {
    long long runMs = -1;
    std::string until;
    std::string child;
    std::string childAfter;
    std::string started;
    std::string ended;
};

constexpr long long kLongestWaitMs = 120000;

#ifdef _WIN32
constexpr char kSeparator = '\\';

std::string ownPath() {
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(sizeof path));
    return std::string(path, length);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void pauseBriefly() { Sleep(20); }

void startProgram(const std::string& program) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        std::fprintf(stderr, "fake installer: cannot start %s\n", program.c_str());
    }
}
#else
constexpr char kSeparator = '/';

std::string ownPath() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

void pauseBriefly() {
    const timespec interval{0, 20 * 1000 * 1000};
    nanosleep(&interval, nullptr);
}

void startProgram(const std::string& program) {
    const pid_t pid = fork();
    if (pid == 0) {
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execv(program.c_str(), argv);
        _exit(127);
    }
    if (pid < 0) std::fprintf(stderr, "fake installer: cannot start %s\n", program.c_str());
}
#endif

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of(kSeparator);
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

std::string configPath(const std::string& program) {
    const std::size_t dot = program.find_last_of('.');
    const std::size_t separator = program.find_last_of(kSeparator);
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return program + ".cfg";
    return program.substr(0, dot) + ".cfg";
}

Plan readPlan(const std::string& file, const std::string& folder) {
    Plan plan;
    std::ifstream in(file);
    std::string line;
    const auto beside = [&](const std::string& name) { return folder + kSeparator + name; };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string key;
        std::string value;
        words >> key;
        std::getline(words >> std::ws, value);
        if (key == "run_ms") plan.runMs = std::stoll(value);
        if (key == "until") plan.until = beside(value);
        if (key == "child") plan.child = beside(value);
        if (key == "child_after") plan.childAfter = beside(value);
        if (key == "started") plan.started = beside(value);
        if (key == "ended") plan.ended = beside(value);
    }
    return plan;
}

void touch(const std::string& path) {
    if (path.empty()) return;
    std::ofstream out(path);
}

}  // namespace

int main() {
#ifndef _WIN32
    // Children are not waited for; let the system reap them.
    signal(SIGCHLD, SIG_IGN);
#endif
    const std::string self = ownPath();
    const Plan plan = readPlan(configPath(self), folderOf(self));
    touch(plan.started);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto elapsedMs = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    const bool waits = plan.runMs >= 0 || !plan.until.empty() || !plan.childAfter.empty();
    bool childStarted = plan.child.empty();
    for (;;) {
        if (!childStarted && (plan.childAfter.empty() || exists(plan.childAfter))) {
            startProgram(plan.child);
            childStarted = true;
        }
        const long long elapsed = elapsedMs();
        const bool runOver = plan.runMs >= 0 && elapsed >= plan.runMs;
        const bool untilMet = !plan.until.empty() && exists(plan.until);
        const bool onlyChildWait = plan.runMs < 0 && plan.until.empty();
        if (!waits || runOver || untilMet || (onlyChildWait && childStarted)) break;
        if (plan.runMs < 0 && elapsed >= kLongestWaitMs) break;
        pauseBriefly();
    }
    touch(plan.ended);
    return 0;
}
