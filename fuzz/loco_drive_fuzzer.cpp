// Arbitrary bytes as the keys typed into loco_drive.
#include "loco_drive.h"
#include "fuzz_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_script::run(loco_drive::run, fuzz_script::typed_keys(data, size));
    return 0;
}
