// Arbitrary bytes as the mouse positions over jointed_arm's window and the
// key that ends it, each at a frame.
#include "fuzz_script.h"
#include "jointed_arm.h"

// Each frame is posed from the mouse alone: a short run reaches every pose.
constexpr int frame_limit = 400;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(jointed_arm::run, fuzz_script::timed_events(data, size, true, 800, 600, frame_limit));
    return 0;
}
