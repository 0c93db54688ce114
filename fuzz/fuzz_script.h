// Arbitrary bytes as the keys and mouse positions of a headless run, for the
// libFuzzer targets of the six programs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graph_testing.h"

namespace fuzz_script {

// For a key-driven program: every byte is one key's code, and a 0 with the
// byte after it is one two-code key. The program gets them one at a time,
// whenever it asks for a key, until they run out.
graph_testing::Script typed_keys(const uint8_t* data, size_t size);

// For an animation: a list of records. A record starts with a byte whose
// low four bits say how many frames after the previous record it comes
// (sixteen frames each when bit 5 is set). With bit 6 set that wait is the
// whole record; else come a key's code (and after a 0 the second code) or,
// when `mouse` is set and bit 4 is too, a mouse position: two bytes of x and
// two of y, taken within the `width` x `height` window. The run stops a few
// dozen frames after the last record, and after `frame_limit` frames at the
// latest, so every input ends quickly.
graph_testing::Script timed_events(const uint8_t* data, size_t size, bool mouse, int width, int height,
                                   int frame_limit);

// Runs `program` with the script; aborts (a finding for libFuzzer) when the
// key queue holds more than it can, which only a fault in the platform lets
// happen.
void run(void (*program)(), const graph_testing::Script& script);

}  // namespace fuzz_script
