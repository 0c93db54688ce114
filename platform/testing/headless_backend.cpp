#include "headless_backend.h"

namespace graph_testing {

void HeadlessBackend::start(const Script& script, const Hooks& hooks) {
    script_ = script;
    hooks_ = hooks;
    next_key_ = 0;
    next_mouse_ = 0;
    frames_ = 0;
    clock_ = 0;
}

bool HeadlessBackend::open(int, int, const char*, std::string&) { return true; }

void HeadlessBackend::deliver(EventSink& sink, const ScriptKey& key) {
    sink.key_codes(key.codes, key.count);
}

void HeadlessBackend::poll(EventSink& sink) {
    while (next_mouse_ < script_.mouse.size() && script_.mouse[next_mouse_].frame <= frames_) {
        sink.mouse_moved(script_.mouse[next_mouse_].x, script_.mouse[next_mouse_].y);
        ++next_mouse_;
    }
    // Keys due at a frame arrive all at once, as a burst of typing would;
    // keys due "on read" one at a time, whenever the queue has run dry.
    while (next_key_ < script_.keys.size()) {
        const ScriptKey& key = script_.keys[next_key_];
        const bool due = key.frame == on_read ? !sink.keys_queued() : key.frame <= frames_;
        if (!due) break;
        deliver(sink, key);
        ++next_key_;
    }
}

void HeadlessBackend::frame_shown() {
    ++frames_;
    if (hooks_.on_frame) hooks_.on_frame(frames_);
    if (script_.frames >= 0 && frames_ > script_.frames) throw RunEnded{Ending::FramesDone};
}

void HeadlessBackend::waiting_for_key(EventSink& sink) {
    // The program waits with nothing queued: time passes until the next
    // scripted key, whatever frame it was meant for.
    if (next_key_ >= script_.keys.size()) throw RunEnded{Ending::ScriptEnded};
    deliver(sink, script_.keys[next_key_++]);
}

void HeadlessBackend::read_key_started(int keys_read) {
    if (hooks_.on_read_key) hooks_.on_read_key(keys_read);
}

}  // namespace graph_testing
