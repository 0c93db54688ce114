// Arbitrary bytes as the keys typed into cab_lift.
#include "cab_lift.h"
#include "fuzz_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(cab_lift::run, fuzz_script::typed_keys(data, size));
    return 0;
}
