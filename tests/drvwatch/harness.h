// Running programs the way a person at a console runs them: in a folder of
// their own, with a pipe for the keyboard and one for the screen, reading
// what they print as they print it. The system's part is system_harness.cpp,
// on Windows win32/system_harness.cpp.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace drvwatch_test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long a test waits for something that should happen at once before it
// gives up. Only a fault reaches it, so it is long; it never judges speed.
inline constexpr std::chrono::seconds kPatience{90};

// What the system's own paths (a temporary folder, a current directory)
// are written with.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A fresh folder under TMPDIR, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "drvwatch");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + kPathSeparator + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes, mode_t mode = 0644);
void copyFile(const std::string& from, const std::string& to, mode_t mode = 0755);
bool exists(const std::string& path);
// Creates the folder and every missing folder above it.
void makeFolders(const std::string& path);
// Sets the file's permissions as far as the system keeps them (the system's
// part of the harness).
void setFileMode(const std::string& path, mode_t mode);

// Waits until the file exists; false once the patience has run out.
bool waitForFile(const std::string& path, std::chrono::milliseconds patience = kPatience);

using Environment = std::map<std::string, std::string>;
// The process's environment (`entries`, as environ holds it) with the
// changes made.
Environment environmentWith(char** entries, const Environment& changes);

// A started program with its standard input and output on pipes; standard
// error is the test's own. Killed if it is still running when destroyed.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::string& folder, const Environment& changes = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    Clock::time_point startedAt() const { return startedAt_; }

    // Everything the program has printed so far.
    const std::string& output() const { return output_; }

    // Reads until the output satisfies the test; false if the program ended
    // or the patience ran out first.
    bool readUntil(const std::function<bool(const std::string&)>& satisfied,
                   std::chrono::milliseconds patience = kPatience);
    bool readUntilContains(const std::string& text, std::chrono::milliseconds patience = kPatience);

    void type(const std::string& keys);
    void closeInput();

    // Whether the program is still running (it is not reaped by asking).
    bool running();

    // Waits for the end and reads all that it printed; the exit status, or
    // nothing if it had to be killed after the patience ran out.
    std::optional<int> wait(std::chrono::milliseconds patience = kPatience);

private:
    bool readSome(std::chrono::milliseconds slice);
    void drain();
    // Ends the program at once and waits until it has ended.
    void kill();

    pid_t pid_ = -1;
#if defined(_WIN32)
    void* process_ = nullptr;
    void* inputPipe_ = nullptr;
    void* outputPipe_ = nullptr;
#else
    int input_ = -1;
    int output_fd_ = -1;
#endif
    std::string output_;
    std::optional<int> status_;
    Clock::time_point startedAt_;
};

// Sets an environment variable for one test and restores it after; a null
// value unsets it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// The folder of the running test program.
std::string ownFolder();

// Replaces every "\n" by "\r\n", as a Windows console program's text-mode
// output does.
std::string withCrLf(const std::string& text);

}  // namespace drvwatch_test
