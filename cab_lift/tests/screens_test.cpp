// The help screens, the masses panel and the force/pressure graph.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

using namespace cab_lift_test;

namespace {

struct Row {
    int y;
    std::string text;
};

const std::vector<Row> main_help_rows = {
    {10, "TASTA            |        FUNCTIA INDEPLINITA"},
    {12, "_____________________________________________"},
    {80, "a----------------|-asambleaza partile componente"},
    {100, "d----------------|-dezasambleaza partile componente"},
    {120, "p-si-o-----------|-modifica cursa pistonului"},
    {140, "m-si-n-----------|-deplaseaza omul pe taler"},
    {160, "t-si-y-----------|-modifica masa talerului"},
    {180, "e-si-r-----------|-modifica masa omului"},
    {200, "g----------------|-graficul variatiei fortei si pres."},
    {220, "1----------------|-modifica partea fixa"},
    {240, "2----------------|-modifica pistonul"},
    {260, "3----------------|-modifica partea mobila"},
    {280, "4----------------|-modifica cele patru bare imbinate"},
    {300, "5----------------|-modifica talerul"},
    {320, "6----------------|-modifica omul"},
    {340, "ESC--------------|-iese din program"},
    {360, "F1---------------|-genereaza informatiile curente"},
    {390, "Obs.:cercul alb continut in desen reprezinta"},
    {410, "    centrul de greutate al ansamblului om-taler"},
};

const std::vector<Row> editor_help_rows = {
    {10, "TASTA            |        FUNCTIA INDEPLINITA"},
    {10, "_____________________________________________"},
    {80, "f,d,y-si-g-------|-muta pe ecran partea aleasa"},
    {100, "c----------------|-modifica culoarea partii alese"},
    {120, "s----------------|-modifica scara partii alese"},
    {140, "t----------------|-modifica tipul liniei"},
    {160, "ESC--------------|-se intoarce in programul principal"},
    {180, "F1---------------|-genereaza aceste informatii"},
};

std::string out_text(int x, int y, const std::string& text) {
    return "OutTextXY(" + std::to_string(x) + ", " + std::to_string(y) + ", \"" + text + "\")";
}

// Pixels of `colour` in the rectangle, both corners included.
int count_colour(const std::vector<uint8_t>& page, int colour, int x1, int y1, int x2, int y2) {
    const int w = graph_testing::width();
    int count = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) count += page[y * w + x] == colour;
    return count;
}

}  // namespace

// Light green rows on a cleared blue page, in their order and places; any
// key returns to the device, every part drawn once, with nothing else left
// on the screen (the masses panel and graph are gone).
TEST(HelpScreens, RowsAndReturn) {
    struct Case {
        const char* tokens;
        int help_read;  // codes read when the help waits for its key
        const std::vector<Row>* rows;
    };
    const Case cases[] = {
        {"F1 x", 2, &main_help_rows},
        {"r p F1 ESC", 4, &main_help_rows},
        {"3 F1 x", 3, &editor_help_rows},
        {"d 5 s s F1 x", 6, &editor_help_rows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens);
        std::vector<uint8_t> help_page;
        graph_testing::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            if (keys_read == c.help_read) help_page = visual_page();
        };
        graph_testing::Script script;
        script.tokens(c.tokens);
        script.trace = true;
        graph_testing::run_with(cab_lift::run, script, hooks);

        // The calls of the screen.
        const auto& t = graph_testing::trace();
        const int start = trace_find("SetBkColor(1)");
        ASSERT_GE(start, 0);
        const std::vector<std::string> opening = {"ClearDevice()", "SetWriteMode(0)", "SetTextStyle(0, 0, 2)",
                                                  "SetColor(10)"};
        ASSERT_GE(t.size(), start + 1 + opening.size() + c.rows->size());
        for (std::size_t i = 0; i < opening.size(); ++i) EXPECT_EQ(t[start + 1 + i], opening[i]);
        for (std::size_t i = 0; i < c.rows->size(); ++i) {
            const Row& row = (*c.rows)[i];
            EXPECT_EQ(t[start + 1 + opening.size() + i], out_text(20, row.y, row.text));
        }

        // The screen itself: only blue and light green; text in every row's
        // band, none between the title and the first key.
        ASSERT_FALSE(help_page.empty());
        const int blue = count_colour(help_page, 1, 0, 0, 639, 479);
        const int green = count_colour(help_page, 10, 0, 0, 639, 479);
        EXPECT_EQ(blue + green, 640 * 480);
        for (const Row& row : *c.rows) EXPECT_GT(count_colour(help_page, 10, 20, row.y, 639, row.y + 15), 0) << row.y;
        EXPECT_EQ(count_colour(help_page, 10, 0, 30, 639, 79), 0);

        // Back to the device.
        const cab_lift::State last = cab_lift::state;
        const auto after = visual_page();
        EXPECT_EQ(page_difference(after, fresh_drawing(last)), "");
    }
}

// The panel comes after the mass keys only, in copy mode, each number
// wiped with a black bar and written in yellow as a plain integer.
TEST(MassesPanel, AfterMassKeysOnly) {
    struct Case {
        std::string tokens;
        bool shown;
        const char* platform;
        const char* man;
    };
    const Case cases[] = {
        {"e", true, "100", "75"},
        {"r", true, "100", "85"},
        {"t", true, "95", "80"},
        {"y", true, "105", "80"},
        {"e e e e e e e e e e e e e e e e", true, "100", "0"},
        {"m", false, "", ""},
        {"n", false, "", ""},
        {"p", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens);
        run_keys(c.tokens, true);
        const int title = trace_find_last(out_text(480, 350, "MASA TALERULUI:"));
        if (!c.shown) {
            EXPECT_EQ(title, -1);
            EXPECT_EQ(count_colour(visual_page(), 14, 480, 350, 639, 479), 0);
            continue;
        }
        ASSERT_GE(title, 0);
        const auto& t = graph_testing::trace();
        const std::vector<std::string> expected = {
            out_text(480, 400, "MASA OMULUI:"),
            "Bar(480, 370, 550, 400)", "SetColor(14)", out_text(520, 370, c.platform),
            "Bar(480, 420, 550, 450)", "SetColor(14)", out_text(520, 420, c.man),
        };
        ASSERT_GE(t.size(), title + 1 + expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(t[title + 1 + i], expected[i]);
        EXPECT_EQ(t[title - 1], "SetColor(10)");
        EXPECT_EQ(t[title - 2], "SetWriteMode(0)");
        const auto page = visual_page();
        EXPECT_GT(count_colour(page, 14, 520, 370, 639, 386), 0);
        EXPECT_GT(count_colour(page, 14, 520, 420, 639, 436), 0);
        EXPECT_GT(count_colour(page, 10, 480, 350, 639, 366), 0);
    }
}

// A new mass overwrites the old number completely: after 1000 kg comes
// down to 0 the bar holds the one digit "0" and nothing of "1000".
TEST(MassesPanel, OldNumberWiped) {
    std::string tokens;
    for (int i = 0; i < 180; ++i) tokens += "y ";
    for (int i = 0; i < 200; ++i) tokens += "t ";
    run_keys(tokens);
    const auto page = visual_page();
    EXPECT_GT(count_colour(page, 14, 520, 370, 527, 386), 0);
    EXPECT_EQ(count_colour(page, 14, 528, 370, 550, 400), 0);
}

// The graph: the first segment from the axes' corner, one segment per
// stroke key, and the values right-aligned in 9 places with 3 decimals at
// the curve's newest end, just above the axis.
TEST(ForceGraph, SegmentsAndValues) {
    struct Case {
        std::string tokens;
        std::vector<std::string> expected;  // in this order, among the last graph's calls
    };
    const Case cases[] = {
        {"g",
         {"SetColor(10)", "Line(10, 240, 20, 128)", "Bar(13, 185, 120, 200)", out_text(27, 185, " 6668.504"),
          "SetColor(12)", "Line(10, 240, 20, 152)", "Bar(14, 201, 140, 220)", out_text(27, 201, "   58.008"),
          "SetColor(11)", "Bar(12, 221, 110, 239)", out_text(23, 221, "   87.000")}},
        // The next stroke key starts its segments where the last ones ended.
        {"g p", {"Line(20, 128, 32, 127)", "Bar(23, 185, 132, 200)", out_text(35, 221, "   97.000")}},
        // A load key draws from the same previous point again.
        {"g r", {"Line(10, 240, 20, 125)", "Line(10, 240, 20, 150)"}},
        // The last stroke: x = 521.2 + 10 rounds to 531.
        {"g p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p",
         {out_text(534, 221, "  513.000")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens);
        run_keys(c.tokens, true);
        int at = trace_find_last("Line(10, 0, 10, 240)");
        ASSERT_GE(at, 0);
        for (const std::string& line : c.expected) {
            const int found = trace_find(line, at);
            EXPECT_GE(found, 0) << line;
            if (found >= 0) at = found;
        }
    }
}

// The axes, arrows and labels, drawn in copy mode.
TEST(ForceGraph, AxesAndLabels) {
    run_keys("g", true);
    const auto& t = graph_testing::trace();
    const int at = trace_find("Line(10, 0, 10, 240)");
    ASSERT_GE(at, 2);
    EXPECT_EQ(t[at - 2], "SetWriteMode(0)");
    EXPECT_EQ(t[at - 1], "SetColor(9)");
    const std::vector<std::string> expected = {
        "Line(10, 240, 639, 240)", "Line(10, 0, 20, 20)", "Line(10, 0, 0, 20)", "Line(639, 240, 619, 260)",
        "Line(639, 240, 619, 220)", out_text(30, 20, "Forta [N]"), out_text(30, 40, "Presiunea [Barr]"),
        out_text(480, 250, "Cursa [mm]"),
    };
    int from = at;
    for (const std::string& line : expected) {
        from = trace_find(line, from);
        EXPECT_GE(from, 0) << line;
        if (from < 0) return;
    }
    // The axes away from where the curves start on them.
    const auto page = visual_page();
    EXPECT_EQ(count_colour(page, 9, 10, 0, 10, 230), 231);
    EXPECT_EQ(count_colour(page, 9, 21, 240, 639, 240), 619);
}

// With 200 kg on 1000 kg the force point lies far above the window, and
// the force is still written just above the axis. At the reset stroke the
// force is about 44 358 N; from stroke 197 on it exceeds 50 000 N.
TEST(ForceGraph, HeavyLoadValueStaysAboveTheAxis) {
    std::string heavy = "g";
    for (int i = 0; i < 180; ++i) heavy += " y";
    for (int i = 0; i < 24; ++i) heavy += " r";
    struct Case {
        std::string tokens;
        int text_x;
        std::string force_prefix;
    };
    std::string to_197 = heavy;
    for (int i = 0; i < 11; ++i) to_197 += " p";
    const Case cases[] = {{heavy, 27, "44358."}, {to_197, 159, "50492."}};
    for (const Case& c : cases) {
        run_keys(c.tokens, true);
        const auto& t = graph_testing::trace();
        const std::string prefix = "OutTextXY(" + std::to_string(c.text_x) + ", 185, \"" + c.force_prefix;
        bool found = false;
        for (auto it = t.rbegin(); it != t.rend() && !found; ++it) found = it->rfind(prefix, 0) == 0;
        EXPECT_TRUE(found) << prefix;
        EXPECT_GT(count_colour(visual_page(), 10, c.text_x, 185, c.text_x + 72, 200), 0);
    }
}

// A clear (d, the help) wipes the graph; while graph mode stays on the next
// draw brings back axes, labels and only the newest segments, over the parts.
TEST(ForceGraph, RedrawnAfterAClear) {
    for (const char* tokens : {"g p p d", "g p p F1 x"}) {
        SCOPED_TRACE(tokens);
        run_keys(tokens, true);
        const int clear = trace_find_last("ClearDevice()");
        ASSERT_GE(clear, 0);
        const int axis = trace_find("Line(10, 0, 10, 240)", clear);
        EXPECT_GE(axis, 0);
        EXPECT_EQ(trace_find("Line(10, 0, 10, 240)", axis + 1), -1) << "drawn once after the clear";
        // The newest force segment, from stroke 97 (x 32) to 107 (x 44).
        const auto& t = graph_testing::trace();
        int segments = 0;
        for (int i = axis; i < int(t.size()); ++i) segments += t[i].rfind("Line(32, ", 0) == 0;
        EXPECT_EQ(segments, 2);  // force and pressure
        EXPECT_EQ(count_colour(visual_page(), 9, 21, 240, 639, 240), 619);
    }
}
