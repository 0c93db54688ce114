// The headless backend: a "window" that is only memory. It plays a script of
// keys and mouse positions, counts frames, keeps a virtual clock that only
// waiting advances, and ends a run by throwing when the script is used up.
#pragma once

#include "backend.h"
#include "graph_testing.h"

namespace graph_testing {

// Thrown through the program to end a headless run.
struct RunEnded {
    Ending ending;
};

class HeadlessBackend : public Backend {
public:
    void start(const Script& script, const Hooks& hooks);

    bool open(int width, int height, const char* title, std::string& reason) override;
    void close() override {}
    bool present(const uint8_t*, const uint32_t*) override { return true; }
    void poll(EventSink& sink) override;
    void wait(int64_t micros) override { clock_ += micros; }
    int64_t now_micros() override { return clock_; }
    void frame_shown() override;
    void waiting_for_key(EventSink& sink) override;
    void read_key_started(int keys_read) override;

private:
    void deliver(EventSink& sink, const ScriptKey& key);

    Script script_;
    Hooks hooks_;
    size_t next_key_ = 0;
    size_t next_mouse_ = 0;
    int frames_ = 0;
    int64_t clock_ = 0;
};

}  // namespace graph_testing
