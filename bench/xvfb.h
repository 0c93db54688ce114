// A private X server (Xvfb) for the benchmarks that need a real window, and
// the programs started on it.
#pragma once

#include <sys/types.h>

#include <string>

class PrivateXServer {
public:
    ~PrivateXServer() { stop(); }
    // Starts Xvfb on a free display with a screen of width x height and
    // points DISPLAY at it; false with a reason when it cannot.
    bool start(int width, int height, std::string& reason);
    void stop();
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Starts `program` (a path) with no arguments and its output thrown away;
// -1 when it cannot be started.
pid_t start_program(const std::string& program);
// True while a child started here runs; false once it has ended (and then
// it is reaped).
bool still_running(pid_t pid);
// Ends a running child started here and waits for it.
void end_program(pid_t pid);
