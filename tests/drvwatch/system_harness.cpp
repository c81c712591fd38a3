// The harness on Linux: folders under TMPDIR, and programs started with
// fork and execve, their standard input and output on pipes.
#include "harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace drvwatch_test {

namespace fs = std::filesystem;

TempDir::TempDir(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = fs::canonical(pattern).string();
}

void setFileMode(const std::string& path, mode_t mode) { ::chmod(path.c_str(), mode); }

Process::Process(const std::vector<std::string>& argv, const std::string& folder, const Environment& changes) {
    std::vector<std::string> flat;
    for (const auto& [name, value] : environmentWith(environ, changes)) flat.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : flat) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = argv;
    std::vector<char*> args;
    for (std::string& argument : arguments) args.push_back(argument.data());
    args.push_back(nullptr);

    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    startedAt_ = Clock::now();
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_fd_ = out[0];
    // Writing to a program that has ended must fail, not end the test.
    ::signal(SIGPIPE, SIG_IGN);
}

Process::~Process() {
    if (!status_ && pid_ > 0) kill();
    if (input_ >= 0) ::close(input_);
    if (output_fd_ >= 0) ::close(output_fd_);
}

bool Process::readSome(std::chrono::milliseconds slice) {
    pollfd ready{output_fd_, POLLIN, 0};
    const int got = ::poll(&ready, 1, static_cast<int>(slice.count()));
    if (got <= 0) return false;
    char buffer[4096];
    const ssize_t count = ::read(output_fd_, buffer, sizeof buffer);
    if (count <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(count));
    return true;
}

bool Process::running() {
    if (status_) return false;
    int status = 0;
    const pid_t got = ::waitpid(pid_, &status, WNOHANG);
    if (got == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        drain();
        return false;
    }
    return true;
}

void Process::type(const std::string& keys) {
    const ssize_t written = ::write(input_, keys.data(), keys.size());
    if (written != static_cast<ssize_t>(keys.size())) throw std::runtime_error("cannot type to the program");
}

void Process::closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

void Process::kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
}

ScopedVariable::~ScopedVariable() {
    if (old_) {
        ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

std::string ownFolder() { return fs::canonical("/proc/self/exe").parent_path().string(); }

}  // namespace drvwatch_test
