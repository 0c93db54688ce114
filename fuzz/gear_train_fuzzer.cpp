// Arbitrary bytes as the keys pressed while gear_train runs, each at a frame.
#include "gear_train.h"
#include "fuzz_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(gear_train::run, fuzz_script::timed_events(data, size, false, 800, 600));
    return 0;
}
