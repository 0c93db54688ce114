#include "headless.h"

#include "backend.h"
#include "core.h"
#include "graph.h"

namespace {

class SilentBackend final : public Backend {
public:
    bool open(int, int, const char*, std::string&) override { return true; }
    void close() override {}
    bool present(const uint8_t*, const uint32_t*) override { return true; }
    void poll(EventSink&) override {}
    void wait(int64_t) override {}
    int64_t now_micros() override { return 0; }
};

SilentBackend silent;

}  // namespace

void open_headless(int mode) {
    platform_core::set_trace(nullptr);
    platform_core::use_backend(&silent);
    InitGraph(DRIVER_256, mode, "bench");
}

const std::vector<uint8_t>& headless_page(int page) { return platform_core::view().pages[page & 3]; }

const uint32_t* headless_palette() { return platform_core::view().palette; }
