// Drive C as a folder of one test's own: WIN_DRIVE_C names it while the
// object lives, and it is removed afterwards. The diagnostic log lands at
// its root.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

class TemporaryDriveC {
public:
    // `name` tells the tests' folders apart; without `made` the folder does
    // not exist at first, like a machine without drive C.
#if defined(_WIN32)
    // On Windows drive C is the system's own (under wine the prefix's): only
    // the log file is the test's, gone before and after.
    explicit TemporaryDriveC(const std::string&) : path_("C:\\") { std::filesystem::remove(logFile()); }
    ~TemporaryDriveC() {
        std::error_code ignored;
        std::filesystem::remove(logFile(), ignored);
    }
#else
    explicit TemporaryDriveC(const std::string& name, bool made = true)
        : path_(std::filesystem::temp_directory_path() / ("zera-" + name + "-c-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        if (made) std::filesystem::create_directories(path_);
        setenv("WIN_DRIVE_C", path_.c_str(), 1);
    }
    ~TemporaryDriveC() {
        unsetenv("WIN_DRIVE_C");
        std::filesystem::remove_all(path_);
    }
#endif
    TemporaryDriveC(const TemporaryDriveC&) = delete;
    TemporaryDriveC& operator=(const TemporaryDriveC&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path logFile() const { return path_ / "PenviraLog.txt"; }
    // The log's bytes; empty when there is none.
    std::string log() const {
        std::ifstream in(logFile(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

private:
    std::filesystem::path path_;
};
