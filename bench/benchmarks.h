// The benchmark families, registered with Google Benchmark by main under
// the names the ratio table refers to.
#pragma once

#include <string>

// Clears, memset and memcpy, the two animation frames through the platform
// and through SDL's software renderer, the random lines.
void register_drawing_benchmarks();
// The palette expansion; with a display, presenting in a real window by the
// platform's path and by SDL's default renderer. Without one those two are
// registered to report `no_display` as the reason they were skipped.
void register_present_benchmarks(bool display, const std::string& no_display);
// Closes the windows the present benchmarks opened.
void close_present_windows();
// The heaviest key of each key-driven program, headless.
void register_key_benchmarks();
