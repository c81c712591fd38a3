// What the harness does the same way on every system: waiting, and reading
// a program's output until it says what a test waits for.
#include "harness.h"

#include <thread>

namespace drvwatch_test {

bool waitForFile(const std::string& path, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!exists(path)) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
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
