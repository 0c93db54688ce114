// Arbitrary bytes as the keys pressed while ic_engine runs, each at a frame.
#include "ic_engine.h"
#include "fuzz_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(ic_engine::run, fuzz_script::timed_events(data, size, false, 800, 600));
    return 0;
}
