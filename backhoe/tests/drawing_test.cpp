// What the parts draw: the screen mapping, pin radii, tracks and tyres, and
// the part editor's settings as they show in the trace and on the page.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "backhoe.h"
#include "graph.h"
#include "run_helpers.h"

namespace backhoe {
namespace {

using namespace testing;

struct Call {
    std::string name;
    std::vector<long> args;
};

Call parse(const std::string& line) {
    Call call;
    const size_t open = line.find('(');
    call.name = line.substr(0, open);
    const char* p = line.c_str() + open + 1;
    while (*p && *p != ')') {
        char* end = nullptr;
        call.args.push_back(std::strtol(p, &end, 10));
        p = end;
        while (*p == ',' || *p == ' ') ++p;
    }
    return call;
}

std::vector<Call> calls_of(const std::vector<std::string>& lines, const std::string& name) {
    std::vector<Call> out;
    for (const std::string& line : lines) {
        Call call = parse(line);
        if (call.name == name) out.push_back(call);
    }
    return out;
}

std::vector<long> radii(const std::vector<std::string>& part) {
    std::vector<long> r;
    for (const Call& c : calls_of(part, "Circle")) r.push_back(c.args[2]);
    return r;
}

// The parts of the last frame drawn after the key numbered `key` (0: start).
std::vector<std::vector<std::string>> parts_after(int key) { return parts_of_last_frame(trace_by_key()[key]); }

TEST(ScreenMapping, InitialSettingsPlaceTheReferencePoints) {
    run_keys("");
    const auto parts = parts_after(0);
    // P1, the model origin, starts the boom cylinder's first link.
    EXPECT_EQ(parts[BOOM_CYLINDER].front().rfind("Line(240, 299, ", 0), 0u) << parts[BOOM_CYLINDER].front();
    // P18 is the boom's second pin; P57 ends the bucket's first link.
    EXPECT_EQ(parts[BOOM][8], "Circle(375, 222, 2)");
    const Call bucket_first = parse(parts[BUCKET].front());
    EXPECT_EQ(bucket_first.args[2], 409);
    EXPECT_EQ(bucket_first.args[3], 294);
}

TEST(ScreenMapping, EveryPartDrawsItsLinksThenItsPins) {
    run_keys("");
    const auto parts = parts_after(0);
    const int links[] = {0, 9, 7, 9, 5, 9, 8, 5, 23};
    const int pins[] = {0, 2, 4, 2, 5, 2, 3, 2, 0};
    for (int p = 1; p <= part_count; ++p) {
        ASSERT_EQ(int(parts[p].size()), links[p] + pins[p]) << "part " << p;
        for (int i = 0; i < links[p]; ++i) EXPECT_EQ(parse(parts[p][i]).name, "Line") << "part " << p;
    }
}

// Radii are k * r rounded with ties to even: 0.8 * 3 = 2.4 -> 2, 1.5 * 3 =
// 4.5 -> 4, 0.5 * 3 = 1.5 -> 2, 1 * 3 -> 3; 0.5 * 1 = 0.5 -> 0; 0.5 * 5 =
// 2.5 -> 2 and 1.5 * 5 = 7.5 -> 8.
TEST(ScreenMapping, PinRadiiRoundHalfToEven) {
    struct Case {
        const char* keys;
        int key;  // the key after whose frame the radii are read
        int part;
        std::vector<long> radii;
    };
    const Case cases[] = {
        {"", 0, BOOM_CYLINDER, {2, 2}},
        {"", 0, BOOM, {4, 2, 4, 4}},
        {"", 0, STICK, {4, 3, 4, 4, 2}},
        {"", 0, BUCKET_LINKAGE, {2, 2, 2}},
        {"", 0, BUCKET, {4, 4}},
        {"t", 1, BODY, {12, 24, 12, 24}},
        {"2 s s s s s s s s s s s s s", 14, BOOM, {2, 0, 2, 2}},
        {"4 s s", 3, STICK, {8, 5, 8, 8, 2}},
        {"1 s s", 3, BOOM_CYLINDER, {4, 4}},
    };
    for (const Case& c : cases) {
        run_keys(c.keys);
        EXPECT_EQ(radii(parts_after(c.key)[c.part]), c.radii) << c.keys << ", part " << c.part;
    }
}

TEST(RunningGear, TyresReplaceTheTracksAndTheEquipmentStays) {
    run_keys("t t");
    const auto tracks = parts_after(0);
    const auto tyres = parts_after(1);
    const auto back = parts_after(2);
    for (int p = 1; p < BODY; ++p) EXPECT_EQ(tyres[p], tracks[p]) << "part " << p;
    // Common body lines first, then the running gear.
    ASSERT_EQ(tracks[BODY].size(), 23u);
    ASSERT_EQ(tyres[BODY].size(), 25u);
    for (int i = 0; i < 18; ++i) EXPECT_EQ(tyres[BODY][i], tracks[BODY][i]);
    EXPECT_EQ(back, tracks);
}

// The editor's keys on part 3 (stick cylinder): each frame's SetColor and
// SetLineStyle for that part, and the model's settings.
TEST(Editor, ColourScaleAndLineStyleWrapAround) {
    struct Case {
        char key;
        int first, last, wraps_to;  // values after the first press, before the wrap, after it
        PerPart<int16_t> Model::*setting16;
        PerPart<int32_t> Model::*setting32;
    };
    const Case cases[] = {
        {'c', 5, 15, 0, &Model::part_color, nullptr},
        {'s', 4, 15, 1, nullptr, &Model::part_scale},
        {'t', 1, 4, 0, &Model::part_line_type, nullptr},
    };
    for (const Case& c : cases) {
        const int presses = c.last - c.first + 3;  // past the wrap and one more
        std::string keys = "3";
        for (int i = 0; i < presses; ++i) keys += std::string(" ") + c.key;
        std::vector<int> seen;
        gt::Hooks hooks;
        hooks.on_read_key = [&](int read) {
            if (read < 2) return;
            seen.push_back(c.setting16 ? (model.*c.setting16)[STICK_CYLINDER] : (model.*c.setting32)[STICK_CYLINDER]);
        };
        run_keys(keys, hooks);
        std::vector<int> want;
        for (int v = c.first; v <= c.last; ++v) want.push_back(v);
        want.push_back(c.wraps_to);
        want.push_back(c.wraps_to + 1);
        EXPECT_EQ(seen, want) << c.key;

        // The frame after the wrap draws part 3 with the wrapped setting.
        const auto segments = trace_by_key();
        const auto& wrapped = segments[1 + presses - 1];
        std::vector<std::string> styles;
        for (const std::string& line : wrapped)
            if (line.rfind("SetLineStyle(", 0) == 0 || line.rfind("SetColor(", 0) == 0) styles.push_back(line);
        ASSERT_EQ(styles.size(), 16u);
        if (c.key == 'c') {
            EXPECT_EQ(styles[5], "SetColor(0)");
        } else if (c.key == 't') {
            EXPECT_EQ(styles[4], "SetLineStyle(0, 1, 0)");
        } else {
            EXPECT_EQ(radii(parts_after(presses)[STICK_CYLINDER]), (std::vector<long>{1, 1}));
        }
    }
}

// d and f move a part 24 pixels left and right (20 before the stretch), g and
// y 20 down and up; the other parts stay where they are.
TEST(Editor, MovesShiftOnlyTheEditedPart) {
    struct Case {
        const char* keys;
        long dx, dy;
    };
    const Case cases[] = {
        {"5 d", -24, 0}, {"5 f", 24, 0}, {"5 g", 0, 20}, {"5 y", 0, -20}, {"5 f f y", 48, -20},
    };
    run_keys("");
    const auto start = parts_after(0);
    for (const Case& c : cases) {
        run_keys(c.keys);
        const auto segments = trace_by_key();
        const auto moved = parts_of_last_frame(segments.back());
        for (int p = 1; p <= part_count; ++p) {
            ASSERT_EQ(moved[p].size(), start[p].size());
            for (size_t i = 0; i < moved[p].size(); ++i) {
                const Call a = parse(start[p][i]);
                const Call b = parse(moved[p][i]);
                const long dx = p == BUCKET_CYLINDER ? c.dx : 0;
                const long dy = p == BUCKET_CYLINDER ? c.dy : 0;
                EXPECT_EQ(b.args[0], a.args[0] + dx) << c.keys << ": " << moved[p][i];
                EXPECT_EQ(b.args[1], a.args[1] + dy) << c.keys << ": " << moved[p][i];
                if (b.name == "Line") {
                    EXPECT_EQ(b.args[2], a.args[2] + dx) << c.keys << ": " << moved[p][i];
                    EXPECT_EQ(b.args[3], a.args[3] + dy) << c.keys << ": " << moved[p][i];
                } else {
                    EXPECT_EQ(b.args[2], a.args[2]);
                }
            }
        }
    }
}

// A part is scaled about its model origin, which stays at (1.2 * offset x,
// GetMaxY - offset y); its points move away from it in proportion.
TEST(Editor, ScalingIsAboutTheModelOrigin) {
    run_keys("");
    const double p10_x = model.point_x[10], p10_y = model.point_y[10];
    // The boom cylinder moved to offsets (220, 200), then scaled 4, 5 and 6.
    run_keys("1 f y s s s");
    const auto segments = trace_by_key();
    for (int scale = 4; scale <= 6; ++scale) {
        const auto parts = parts_of_last_frame(segments[3 + (scale - 3)]);
        const Call first = parse(parts[BOOM_CYLINDER].front());
        EXPECT_EQ(first.args[0], 264) << "scale " << scale;  // 1.2 * 220
        EXPECT_EQ(first.args[1], 279) << "scale " << scale;  // 479 - 200
        const Call pin = parse(parts[BOOM_CYLINDER][9]);     // Circle at P10
        EXPECT_NEAR(pin.args[0], 264 + 1.2 * scale * p10_x, 0.5) << "scale " << scale;
        EXPECT_NEAR(pin.args[1], 279 - scale * p10_y, 0.5) << "scale " << scale;
    }
}

TEST(Editor, NothingIsDrawnOnEntryUntilTheFirstKey) {
    run_keys("1 ESC");
    const auto segments = trace_by_key();
    ASSERT_EQ(segments.size(), 3u);
    // From reading "1" to the editor's first key: no drawing at all.
    for (const std::string& line : segments[1]) {
        const std::string name = parse(line).name;
        EXPECT_TRUE(name == "ReadKey" || name == "GetMaxX" || name == "GetMaxY") << line;
    }
    // ESC in the editor redraws once, then the command loop once more; both
    // pictures are the start picture.
    EXPECT_EQ(count_calls(segments[2], "SetVisualPage"), 2);
}

// Offsets have no limit: a part driven far off the 16-bit range saturates
// at the edge instead of wrapping round onto the page, so the page looks
// exactly as with the part placed just far enough away to be out of sight.
// The offsets are chosen so that a coordinate wrapped modulo 65536 would land
// on the page.
TEST(Editor, OffsetsBeyondTheSixteenBitRangeSaturate) {
    struct Case {
        int32_t offset_x, offset_y;
        long x, y;  // where P1 lands
        int32_t in_range_x, in_range_y;  // out of sight without saturating
    };
    const Case cases[] = {
        {54870, 180, 32767, 299, 10000, 180},        // x 65844 would wrap to 308
        {-54363, 180, -32768, 299, -10000, 180},     // x -65236 would wrap to 300
        {200, -65257, 240, 32767, 200, -10000},      // y 65736 would wrap to 200
        {200, 65815, 240, -32768, 200, 10000},       // y -65336 would wrap to 200
        {200, 2000000000, 240, -32768, 200, 10000},
    };
    auto place_body = [](int32_t x, int32_t y) {
        gt::Hooks hooks;
        // Just before the editor's key, put part 8 far away.
        hooks.on_read_key = [=](int read) {
            if (read == 1) {
                model.part_offset_x[BODY] = x;
                model.part_offset_y[BODY] = y;
            }
        };
        run_keys("8 x", hooks);
    };
    const std::vector<uint8_t> start = start_picture();
    for (const Case& c : cases) {
        place_body(c.in_range_x, c.in_range_y);
        const std::vector<uint8_t> out_of_sight = shown_picture();
        EXPECT_NE(out_of_sight, start);

        place_body(c.offset_x, c.offset_y);
        const auto body = parts_of_last_frame(trace_by_key()[2])[BODY];
        const Call first = parse(body.front());
        EXPECT_EQ(first.args[0], c.x) << c.offset_x << ", " << c.offset_y;
        EXPECT_EQ(first.args[1], c.y) << c.offset_x << ", " << c.offset_y;
        EXPECT_TRUE(shown_picture() == out_of_sight) << c.offset_x << ", " << c.offset_y;
    }
}

// Driven there by the keys themselves: 1400 presses of f put the body's
// model origin beyond x = 32767.
TEST(Editor, HoldingAMoveKeyDrivesThePartOffThePage) {
    std::string keys = "8";
    for (int i = 0; i < 1400; ++i) keys += " f";
    run_keys(keys);
    EXPECT_EQ(model.part_offset_x[BODY], 200 + 1400 * 20);
    const auto body = parts_of_last_frame(trace_by_key().back())[BODY];
    for (const std::string& line : body) EXPECT_EQ(parse(line).args[0], 32767) << line;
}

TEST(Picture, BackgroundIsTheNamedLightBlue) {
    const std::vector<uint8_t> start = start_picture();
    EXPECT_EQ(background_color(), 102);
    EXPECT_EQ(start[0], 102);
    EXPECT_EQ(gt::palette_rgb(102), 0xB4D8FCu);
}

// Parts are drawn 1 to 8, so where they meet the later one shows: P1 is the
// boom cylinder's base pin and a corner of the body.
TEST(Picture, LaterPartsPaintOverEarlierOnes) {
    for (const char* keys : {"", "1 c c c ESC", "8 c c c c c c c ESC"}) {
        run_keys(keys);
        EXPECT_EQ(gt::pixel(gt::visual_page(), 240, 299), model.part_color[BODY]) << keys;
        EXPECT_EQ(gt::pixel(gt::visual_page(), 242, 299), model.part_color[BOOM_CYLINDER]) << keys;
    }
}

}  // namespace
}  // namespace backhoe
