#include "xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

void quiet_output() {
    const int null = open("/dev/null", O_WRONLY);
    if (null < 0) return;
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
}

}  // namespace

bool PrivateXServer::start(int width, int height, std::string& reason) {
    int fds[2];
    if (pipe(fds) != 0) {
        reason = "cannot make a pipe";
        return false;
    }
    const std::string fd = std::to_string(fds[1]);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        quiet_output();
        // Xvfb picks a free display itself and writes its number to the pipe.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        reason = "cannot fork";
        return false;
    }
    std::string number;
    pollfd waiting{fds[0], POLLIN, 0};
    char c;
    while (poll(&waiting, 1, 10'000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
        reason = "Xvfb did not start (is the xvfb package installed?)";
        stop();
        return false;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    return true;
}

void PrivateXServer::stop() {
    if (pid_ > 0) end_program(pid_);
    pid_ = -1;
}

pid_t start_program(const std::string& program) {
    const pid_t pid = fork();
    if (pid == 0) {
        quiet_output();
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

bool still_running(pid_t pid) {
    int status;
    return pid > 0 && waitpid(pid, &status, WNOHANG) == 0;
}

void end_program(pid_t pid) {
    kill(pid, SIGTERM);
    int status;
    waitpid(pid, &status, 0);
}
