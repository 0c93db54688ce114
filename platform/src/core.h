// The core's state as the test API and tools see it, and the switch that
// puts a backend other than the window under the next InitGraph.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backend.h"
#include "keys.h"

namespace platform_core {

struct View {
    bool open = false;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pages[4];
    int active_page = 0;
    int visual_page = 0;
    uint32_t palette[256] = {};  // 0x00RRGGBB
    std::string title;
    int current_x = 0;  // viewport-relative
    int current_y = 0;
    KeyQueue queue;
};

const View& view();

// The backend the next InitGraph opens; nullptr selects the window backend.
void use_backend(Backend* backend);
// When `lines` is not null, every platform call is appended to it as text.
void set_trace(std::vector<std::string>* lines);
// Forgets the open window without telling the backend (a headless run that
// was cut short); the pages stay readable.
void abandon();

// The default palette under driver 3 (entries 0..15 as the programs know
// them, 16..255 the standard 256-colour palette), 0x00RRGGBB.
const uint32_t* default_palette();
// Nearest entry by squared distance, ties to the lower entry.
int nearest_entry(const uint32_t* palette, int red, int green, int blue);

}  // namespace platform_core
