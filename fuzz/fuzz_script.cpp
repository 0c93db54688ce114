#include "fuzz_script.h"

#include <cstdio>
#include <cstdlib>

#include "keys.h"

namespace fuzz_script {
namespace {

// A key-driven program draws a frame or two for each key; far more frames
// than keys means it no longer waits for them.
constexpr int frames_per_key = 8;
// Frames after an animation's last record: enough for a program that takes
// one key a frame to empty a full queue.
constexpr int frames_after_last = 40;

// Reads the input from the front; a read past its end gives 0.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool left() const { return at_ < size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    int next16() {
        const int low = next();
        return low | next() << 8;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void add_key(graph_testing::Script& script, Bytes& bytes, int frame) {
    const uint8_t code = bytes.next();
    if (code == 0 && bytes.left())
        script.key2(bytes.next(), frame);
    else
        script.key(code, frame);
}

}  // namespace

graph_testing::Script typed_keys(const uint8_t* data, size_t size) {
    graph_testing::Script script;
    Bytes bytes(data, size);
    while (bytes.left()) add_key(script, bytes, graph_testing::on_read);
    script.frames = frames_per_key * static_cast<int>(script.keys.size() + 1);
    return script;
}

graph_testing::Script timed_events(const uint8_t* data, size_t size, bool mouse, int width, int height,
                                   int frame_limit) {
    graph_testing::Script script;
    Bytes bytes(data, size);
    int frame = 0;
    while (bytes.left() && frame <= frame_limit) {
        const uint8_t head = bytes.next();
        frame += (head & 0x0F) * ((head & 0x20) != 0 ? 16 : 1);
        if ((head & 0x40) != 0) continue;
        if (mouse && (head & 0x10) != 0) {
            const int x = bytes.next16() % width;
            const int y = bytes.next16() % height;
            script.mouse_at(x, y, frame);
        } else {
            add_key(script, bytes, frame);
        }
    }
    script.frames = frame + frames_after_last;
    if (script.frames > frame_limit) script.frames = frame_limit;
    return script;
}

void run(void (*program)(), const graph_testing::Script& script) {
    graph_testing::Hooks hooks;
    auto check_queue = [](int) {
        if (graph_testing::queued_codes() > KeyQueue::capacity) {
            std::fprintf(stderr, "the key queue holds %d codes\n", graph_testing::queued_codes());
            std::abort();
        }
    };
    hooks.on_frame = check_queue;
    hooks.on_read_key = check_queue;
    graph_testing::run_with(program, script, hooks);
}

}  // namespace fuzz_script
