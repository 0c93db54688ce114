// Arbitrary bytes as the keys pressed while ic_engine runs, each at a frame.
#include "ic_engine.h"
#include "fuzz_script.h"

// A turn of the crank is 1250 frames.
constexpr int frame_limit = 1300;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(ic_engine::run, fuzz_script::timed_events(data, size, false, 800, 600, frame_limit));
    return 0;
}
