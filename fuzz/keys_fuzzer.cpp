// Arbitrary bytes as a stream of key events, close boxes, already translated
// keys and reads, through the key translation into the key queue. Checks what
// every program relies on: a translation gives at most four codes and each 0
// in it is followed by a second code; the queue never holds more than 31
// codes, drops only whole keys, oldest first, and hands out the codes in
// order, so the second code read after a 0 is always that key's own.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "keys.h"

namespace {

using Key = std::vector<uint8_t>;

void fail(const char* what, int value) {
    std::fprintf(stderr, "%s (%d)\n", what, value);
    std::abort();
}

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool left() const { return at_ < size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// The queue as a plain list of whole keys. Once the program has read the
// first code of the front key, that key stays until it is read to the end.
class Model {
public:
    void push(const Key& key) {
        while (size() + key.size() > KeyQueue::capacity) {
            auto oldest = keys_.begin() + (front_started_ ? 1 : 0);
            if (oldest == keys_.end()) fail("the model has no key to drop", int(key.size()));
            keys_.erase(oldest);
        }
        keys_.push_back(key);
    }
    int pop() {
        if (keys_.empty()) return 0;
        Key& front = keys_.front();
        const int code = front.front();
        front.erase(front.begin());
        front_started_ = !front.empty();
        if (!front_started_) keys_.pop_front();
        return code;
    }
    size_t size() const {
        size_t codes = 0;
        for (const Key& key : keys_) codes += key.size();
        return codes;
    }

private:
    std::deque<Key> keys_;
    bool front_started_ = false;
};

KeyEvent event_from(Bytes& bytes) {
    KeyEvent event;
    // One past the last key too: a key no table row names.
    event.key = static_cast<KeyId>(bytes.next() % (static_cast<int>(KeyId::Alt) + 2));
    const uint8_t flags = bytes.next();
    event.shift = flags & 1;
    event.ctrl = flags & 2;
    event.alt = flags & 4;
    if (flags & 8) {
        // Any code point a window system might send, and nonsense.
        uint32_t typed = 0;
        for (int i = 0; i < 4; ++i) typed = typed << 8 | bytes.next();
        event.typed = static_cast<int>(typed);
    } else {
        event.typed = bytes.next() - 1;  // none, or a single-byte character
    }
    return event;
}

// The translation's keys, split as the queue splits them; checks its shape.
std::vector<Key> keys_of(const KeyCodes& codes) {
    if (codes.count < 0 || codes.count > 4) fail("a translation gave a count out of 0..4", codes.count);
    std::vector<Key> keys;
    for (int i = 0; i < codes.count;) {
        if (codes.codes[i] == 0) {
            if (i + 1 >= codes.count) fail("a translation ends in a 0 without its second code", i);
            keys.push_back({0, codes.codes[i + 1]});
            i += 2;
        } else {
            keys.push_back({codes.codes[i]});
            i += 1;
        }
    }
    return keys;
}

void push_translation(KeyQueue& queue, Model& model, const KeyCodes& codes) {
    for (const Key& key : keys_of(codes)) model.push(key);
    queue.push(codes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeyQueue queue;
    Model model;
    Bytes bytes(data, size);
    while (bytes.left()) {
        // Bits 0 and 1: what arrives.
        const uint8_t op = bytes.next();
        switch (op & 3) {
        case 0:
        case 1:
            push_translation(queue, model, translate_key(event_from(bytes)));
            break;
        case 2:
            push_translation(queue, model, close_box_codes());
            break;
        case 3: {  // one key as the headless backend delivers it, codes given
            const int count = bytes.next() % 4;
            uint8_t codes[3] = {bytes.next(), bytes.next(), bytes.next()};
            if (count == 1 || count == 2) model.push(Key(codes, codes + count));
            queue.push_key(codes, count);
            break;
        }
        }
        // Bits 2 to 4, less 4: the codes the program reads next. Mostly
        // none, so the queue spends most of its time full.
        for (int reads = (op >> 2 & 7) - 4; reads > 0; --reads) {
            const int expected = model.pop();
            const int got = queue.pop();
            if (got != expected) fail("the queue handed out another code than the list of whole keys", got);
        }
        if (queue.size() > KeyQueue::capacity) fail("the queue holds more than its capacity", queue.size());
        if (size_t(queue.size()) != model.size()) fail("the queue holds another number of codes", queue.size());
        if (queue.empty() != (queue.size() == 0)) fail("empty() disagrees with size()", queue.size());
    }
    return 0;
}
