// Arbitrary bytes as the keys pressed while gear_train runs, each at a frame.
#include "gear_train.h"
#include "fuzz_script.h"

// One key a frame: 400 frames take more keys than an input holds.
constexpr int frame_limit = 400;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(gear_train::run, fuzz_script::timed_events(data, size, false, 800, 600, frame_limit));
    return 0;
}
