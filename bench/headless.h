// The platform opened on a backend that shows nothing and never waits, so a
// benchmark times only the drawing itself.
#pragma once

#include <cstdint>
#include <vector>

// Opens (or reopens) the platform headless in graphics mode `mode`, with
// every drawing setting at its start value and the trace off.
void open_headless(int mode);

// A page of the open platform and its palette, to present.
const std::vector<uint8_t>& headless_page(int page);
const uint32_t* headless_palette();
