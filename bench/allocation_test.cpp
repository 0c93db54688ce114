// After start-up no program allocates memory per frame or per key. Every
// allocation of the process is counted (malloc and its kin are replaced
// below; operator new allocates through malloc), and a scripted run is
// counted over N frames or keys after a warm-up and over 2N: the two counts
// must be the same, so no frame and no key allocates.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>

#include "backhoe.h"
#include "cab_lift.h"
#include "gear_train.h"
#include "graph_testing.h"
#include "ic_engine.h"
#include "jointed_arm.h"
#include "loco_drive.h"

// --- Counting allocations -------------------------------------------------

// AddressSanitizer brings its own malloc, which must stay in charge; there
// the allocations are counted by the plain build only.
#if defined(__SANITIZE_ADDRESS__)
#define COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef COUNT_ALLOCATIONS
#define COUNT_ALLOCATIONS 1
#endif

namespace {
// One thread allocates here (the programs have one), so a plain counter.
long allocations = 0;
}  // namespace

#if COUNT_ALLOCATIONS
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

extern "C" {
void* malloc(size_t size) noexcept {
    ++allocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) noexcept {
    ++allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, size_t size) noexcept {
    ++allocations;
    return __libc_realloc(pointer, size);
}
void* memalign(size_t alignment, size_t size) noexcept {
    ++allocations;
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) noexcept { return memalign(alignment, size); }
int posix_memalign(void** pointer, size_t alignment, size_t size) noexcept {
    *pointer = memalign(alignment, size);
    return *pointer == nullptr ? ENOMEM : 0;
}
void free(void* pointer) noexcept { __libc_free(pointer); }
}
#endif

// Where the allocations are not counted, a test is skipped.
#define SKIP_UNLESS_COUNTING() \
    if (!COUNT_ALLOCATIONS) GTEST_SKIP() << "allocations are counted in the build without AddressSanitizer"

namespace {

using graph_testing::Script;

// The allocation count at three points of a run: after the warm-up, after N
// more frames or keys, after 2N.
struct Counts {
    long at[3] = {-1, -1, -1};
    long over_n() const { return at[1] - at[0]; }
    long over_2n() const { return at[2] - at[0]; }
};

// --- Animations: counted at frames -------------------------------------------

struct AnimationCase {
    const char* name;
    void (*program)();
    int warm_up;  // frames before counting starts
    int n;        // frames in each counted stretch
    // Adds the script's events for the stretch of frames starting at `from`.
    void (*events)(Script& script, int from, int n);
};

void no_events(Script&, int, int) {}

void gear_keys(Script& script, int from, int) {
    script.key('a', from + 2).key('a', from + 4).key('z', from + 6).key('z', from + 8);
}

// The mouse sweeps the window, re-posing the arm every frame.
void arm_mouse(Script& script, int from, int n) {
    for (int i = 0; i < n; ++i) script.mouse_at((i * 37) % 800, (i * 23) % 600, from + i);
}

const AnimationCase animation_cases[] = {
    {"gear_train", gear_train::run, 20, 40, gear_keys},
    // One turn of the crank is about 1257 frames: flame, spark and all.
    {"ic_engine", ic_engine::run, 20, 1300, no_events},
    {"jointed_arm", jointed_arm::run, 20, 100, arm_mouse},
};

// Counts a run of the animation; `per_frame` runs at every frame besides.
Counts count_frames(const AnimationCase& c, void (*per_frame)()) {
    Script script;
    for (int from : {0, c.warm_up, c.warm_up + c.n}) c.events(script, from, from == 0 ? c.warm_up : c.n);
    script.frames = c.warm_up + 2 * c.n;
    Counts counts;
    graph_testing::Hooks hooks;
    hooks.on_frame = [&](int frame) {
        if (per_frame) per_frame();
        for (int i = 0; i < 3; ++i)
            if (frame == c.warm_up + i * c.n) counts.at[i] = allocations;
    };
    EXPECT_EQ(graph_testing::run_with(c.program, script, hooks), graph_testing::Ending::FramesDone);
    EXPECT_GE(counts.at[2], 0) << "the run ended before frame " << c.warm_up + 2 * c.n;
    return counts;
}

// Test names and messages show the program's name.
void PrintTo(const AnimationCase& c, std::ostream* out) { *out << c.name; }

class AnimationAllocations : public testing::TestWithParam<AnimationCase> {};

TEST_P(AnimationAllocations, NoFrameAllocates) {
    SKIP_UNLESS_COUNTING();
    const AnimationCase& c = GetParam();
    const Counts counts = count_frames(c, nullptr);
    EXPECT_EQ(counts.over_2n(), counts.over_n())
        << counts.over_n() << " allocations over " << c.n << " frames, " << counts.over_2n() << " over "
        << 2 * c.n;
}

// The count sees an allocation made once a frame (here by the hook itself).
TEST(AllocationCount, SeesOneAllocationAFrame) {
    SKIP_UNLESS_COUNTING();
    static void* volatile block;
    const Counts counts = count_frames(animation_cases[0], [] {
        block = std::malloc(8);
        std::free(block);
    });
    EXPECT_EQ(counts.over_2n() - counts.over_n(), animation_cases[0].n);
}

INSTANTIATE_TEST_SUITE_P(Programs, AnimationAllocations, testing::ValuesIn(animation_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Key-driven programs: counted at keys ------------------------------------

struct KeyCase {
    const char* name;
    void (*program)();
    // One round of keys through every command, the part editor (with its
    // help), the help and credits screens, ending back in the command loop.
    const char* round;
};

const KeyCase key_cases[] = {
    {"backhoe", backhoe::run, "p o l k m n t t ; x < x 3 c s t f d y g ; x ESC p a"},
    {"cab_lift", cab_lift::run, "p o m n r e y t g p o a d a ; x 2 c s t f d y g ; x ESC p a"},
    {"loco_drive", loco_drive::run, "p o d f g y x z b q w ; x < x 1 c s t f d y g ; x ESC p a"},
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class KeyAllocations : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyAllocations, NoKeyAllocates) {
    SKIP_UNLESS_COUNTING();
    const KeyCase& c = GetParam();
    constexpr int rounds_per_stretch = 3;
    Script script;
    for (int round = 0; round < 1 + 2 * rounds_per_stretch; ++round) script.tokens(c.round);
    const int round_codes = int(graph_testing::parse_key_tokens(c.round).size());
    const int n = rounds_per_stretch * round_codes;
    Counts counts;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int keys_read) {
        for (int i = 0; i < 3; ++i)
            if (keys_read == round_codes + i * n) counts.at[i] = allocations;
    };
    ASSERT_EQ(graph_testing::run_with(c.program, script, hooks), graph_testing::Ending::ScriptEnded);
    ASSERT_GE(counts.at[2], 0) << "the run ended before reading all its keys";
    EXPECT_EQ(counts.over_2n(), counts.over_n())
        << counts.over_n() << " allocations over " << n << " keys, " << counts.over_2n() << " over " << 2 * n;
}

INSTANTIATE_TEST_SUITE_P(Programs, KeyAllocations, testing::ValuesIn(key_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
