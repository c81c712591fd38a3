// What the harness does the same way on every system: files and folders,
// waiting, and reading a program's output until it says what a test waits
// for.
#include "harness.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace drvwatch_test {

namespace fs = std::filesystem;

TempDir::~TempDir() {
    // A program that is ending may still write into the folder while it is
    // being removed, so removal is tried again until nothing is left.
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
        if (!fs::exists(path_, ignored)) return;
        std::this_thread::sleep_for(100ms);
    }
}

void writeFile(const std::string& path, const std::string& bytes, mode_t mode) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out) throw std::runtime_error("cannot write " + path);
    }
    setFileMode(path, mode);
}

void copyFile(const std::string& from, const std::string& to, mode_t mode) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    setFileMode(to, mode);
}

bool exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

void makeFolders(const std::string& path) { fs::create_directories(path); }

bool waitForFile(const std::string& path, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!exists(path)) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

Environment environmentWith(char** entries, const Environment& changes) {
    Environment environment;
    for (char** entry = entries; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        // From the second character: Windows names a drive's current folder
        // in entries such as "=C:=C:\...".
        const std::size_t equals = text.find('=', 1);
        if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes) environment[name] = value;
    return environment;
}

void Process::drain() {
    // The program has ended, so everything it wrote is in the pipe already;
    // a process it started may still hold the pipe open, so read without
    // waiting for the end of the stream.
    while (readSome(0ms)) {
    }
}

bool Process::readUntil(const std::function<bool(const std::string&)>& satisfied,
                        std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!satisfied(output_)) {
        if (!running()) return satisfied(output_);
        if (Clock::now() > deadline) return false;
        readSome(50ms);
    }
    return true;
}

bool Process::readUntilContains(const std::string& text, std::chrono::milliseconds patience) {
    return readUntil([&](const std::string& out) { return out.find(text) != std::string::npos; }, patience);
}


std::optional<int> Process::wait(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (running()) {
        if (Clock::now() > deadline) {
            kill();
            drain();
            status_ = -1;
            return std::nullopt;
        }
        readSome(50ms);
    }
    return status_;
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace drvwatch_test
