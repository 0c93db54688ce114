// A full scripted run of each program, through every screen it has, and
// then a leak check. LeakSanitizer is there to ask in the SANITIZE build; in
// other builds the runs still go through and the check is skipped.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "backhoe.h"
#include "cab_lift.h"
#include "gear_train.h"
#include "graph_testing.h"
#include "ic_engine.h"
#include "jointed_arm.h"
#include "loco_drive.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

namespace gt = graph_testing;

struct FullRun {
    const char* name;
    void (*program)();
    const char* keys;  // due on read, or from frame `key_frame` on
    int key_frame;
};

const FullRun full_runs[] = {
    {"cab_lift", cab_lift::run,
     "p p o m n e r t y g p o d 1 c d f g y s t F1 x ESC F1 x a ; x 6 c t ESC C-F4 CLOSE A-F9 ESC", gt::on_read},
    {"backhoe", backhoe::run,
     "p o l k m n t t 1 c d f g y s t F1 x ESC F2 x a 8 g ESC ; x CLOSE C-F4 ESC", gt::on_read},
    {"loco_drive", loco_drive::run,
     "p o d f g y x z z z b q w 1 c d f g y s t F1 x ESC 2 s ESC F1 x F2 x a CLOSE ESC", gt::on_read},
    {"ic_engine", ic_engine::run, "F1", 50},
    {"jointed_arm", jointed_arm::run, "CLOSE", 30},
    {"gear_train", gear_train::run, "a a a z CLOSE ESC", 40},
};

void PrintTo(const FullRun& run, std::ostream* out) { *out << run.name; }

class FullRunLeaks : public testing::TestWithParam<FullRun> {};

TEST_P(FullRunLeaks, LeaveNothingAllocated) {
    const FullRun& run = GetParam();
    gt::Script script;
    script.tokens(run.keys, run.key_frame);
    for (int frame = 0; frame < 40; ++frame) script.mouse_at(frame * 20, 600 - frame * 15, frame);
    ASSERT_EQ(gt::run(run.program, script), gt::Ending::Returned);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "leaks after a full run of " << run.name;
#else
    GTEST_SKIP() << "the leak check needs the SANITIZE build";
#endif
}

INSTANTIATE_TEST_SUITE_P(EachProgram, FullRunLeaks, testing::ValuesIn(full_runs),
                         [](const testing::TestParamInfo<FullRun>& info) { return std::string(info.param.name); });

}  // namespace
