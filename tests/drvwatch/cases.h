// The behaviour of drvwatch as a user sees it, written once and run against
// each build of the program: the Linux one, and the Windows one under wine.
// Each test program supplies the platform that runs its build.
#pragma once

#include "harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace drvwatch_test {

class Platform {
public:
    virtual ~Platform() = default;

    // Why the platform cannot run programs here, if it cannot.
    virtual std::optional<std::string> unavailable() const { return std::nullopt; }
    // The command that runs a program built for this platform.
    virtual std::vector<std::string> command(const std::string& program) const = 0;
    virtual std::string drvwatch() const = 0;
    virtual std::string fakeInstaller() const = 0;
    // The program's name for a Linux folder, as its current directory.
    virtual std::string windowsPath(const std::string& linuxFolder) const = 0;
    // The bytes that printing the text puts on standard output.
    virtual std::string screen(const std::string& text) const = 0;
    virtual Environment environment() const = 0;
    // Puts a file at the path that has the installer's name but cannot be
    // started as a program.
    virtual void writeUnstartable(const std::string& path) const = 0;
    // The program to run, and what to add to its environment, so that it
    // sees the given Windows version ("4.0" or "5.0").
    virtual std::pair<std::string, Environment> drvwatchOnWindows(const std::string& version) const = 0;
};

// Defined by each test program.
Platform& platform();

// A test folder in which drvwatch and fake installers are run.
class DrvwatchCase : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts a copy of the fake installer into the folder under the name, with
    // its settings (lines of "key value").
    void putInstaller(const std::string& folder, const std::string& name, const std::vector<std::string>& settings);
    std::unique_ptr<Process> startDrvwatch(const std::string& folder, const std::vector<std::string>& arguments = {});
    // Starts a fake installer copy directly, as the user would.
    std::unique_ptr<Process> startProgram(const std::string& path);

    // What drvwatch prints in the folder up to its first poll, and after it.
    std::string launchText(const std::string& folder) const;
    std::string completionText() const;
    std::string missingText() const;
    // The number of poll dots if the output is exactly a whole normal run
    // in the folder, and -1 otherwise.
    int dotsOfNormalRun(const std::string& output, const std::string& folder) const;
    // The dots of the polls so far if the output is exactly a normal run in
    // the folder that is still waiting, and -1 otherwise.
    int dotsSoFar(const std::string& output, const std::string& folder) const;

    // Expects that the program waits for Enter after the prompt, then ends
    // with code 0 having printed exactly the expected text.
    void expectWaitsForEnter(Process& program, const std::string& expected);
    // Follows a whole normal run: exit code 0, the exact output and the
    // least time its sleeps take. Returns the number of dots.
    int expectNormalRun(Process& program, const std::string& folder);

    std::unique_ptr<TempDir> dir_;
    // Helper processes that must end before the test does.
    std::vector<std::string> stopFiles_;
};

}  // namespace drvwatch_test
