// The main help, the editor's help and the credits panel.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "graph.h"
#include "loco_drive.h"
#include "loco_testing.h"

namespace loco_drive {
namespace {

using namespace loco_test;

// The newest text screen, from its first call (a help screen's
// SetBkColor(1), the credits panel's SetTextStyle) up to the key that
// dismisses it.
std::vector<std::string> last_screen() {
    const auto& trace = graph_testing::trace();
    size_t begin = trace.size();
    while (begin > 0 && trace[begin - 1] != "SetBkColor(1)" && trace[begin - 1] != "SetTextStyle(0, 0, 0)") --begin;
    std::vector<std::string> calls;
    for (size_t i = begin == 0 ? 0 : begin - 1; i < trace.size() && trace[i].rfind("ReadKey", 0) != 0; ++i)
        calls.push_back(trace[i]);
    return calls;
}

std::vector<std::string> texts(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    for (const std::string& call : calls)
        if (call.rfind("OutTextXY(", 0) == 0) out.push_back(call);
    return out;
}

const std::vector<std::string> main_help_calls = {
    "SetBkColor(1)", "ClearDevice()", "SetWriteMode(0)", "SetTextStyle(0, 0, 2)", "SetColor(10)",
    R"(OutTextXY(20, 10, "TASTA            |        FUNCTIA INDEPLINITA"))",
    R"(OutTextXY(20, 12, "_____________________________________________"))",
    R"(OutTextXY(20, 80, "a----------------|-asambleaza in pozitia Initiala"))",
    R"(OutTextXY(20, 100, "p,o--------------|-modifica cursa pistonului"))",
    R"(OutTextXY(20, 120, "1,2--------------|-modifica partile componente"))",
    R"(OutTextXY(20, 140, "b----------------|-schimba orientarea masinii"))",
    R"(OutTextXY(20, 160, "q,w--------------|-modifica unghiul de reprezentare"))",
    R"(OutTextXY(20, 180, "z,x--------------|-modifica scara de reprezentare"))",
    R"(OutTextXY(20, 200, "d,f,y,g----------|-modifica pozitia pe ecran"))",
    R"(OutTextXY(20, 220, "ESC--------------|-iese din program"))",
    R"(OutTextXY(20, 240, "F1---------------|-genereaza informatiile curente"))",
    R"(OutTextXY(20, 260, "F2---------------|-alte informatii"))",
};

const std::vector<std::string> editor_help_calls = {
    "SetBkColor(1)", "ClearDevice()", "SetWriteMode(0)", "SetTextStyle(0, 0, 2)", "SetColor(10)",
    R"(OutTextXY(20, 10, "TASTA            |        FUNCTIA INDEPLINITA"))",
    R"(OutTextXY(20, 10, "_____________________________________________"))",
    R"(OutTextXY(20, 80, "f,d,y-si-g-------|-muta pe ecran partea aleasa"))",
    R"(OutTextXY(20, 100, "c----------------|-modifica culoarea partii alese"))",
    R"(OutTextXY(20, 120, "s----------------|-modifica Scara partii alese"))",
    R"(OutTextXY(20, 140, "t----------------|-modifica tipul liniei"))",
    R"(OutTextXY(20, 160, "ESC--------------|-intoarcere in programul principal"))",
    R"(OutTextXY(20, 180, "F1---------------|-genereaza aceste informatii"))",
};

TEST(HelpScreens, MainHelpOpensOnF1AndItsSecondCode) {
    // F1 is 0 then 59: the 0 redraws, the 59 opens the help; ";" is 59 alone.
    for (const auto& [tokens, pages] : {std::pair{"F1", 2}, std::pair{";", 1}}) {
        SCOPED_TRACE(tokens);
        EXPECT_EQ(run_keys(tokens), Ending::ScriptEnded);  // waiting on the help screen
        EXPECT_EQ(last_screen(), main_help_calls);
        EXPECT_EQ(pages_shown(), pages);
        // Drawn on the shown page: visible at once.
        EXPECT_EQ(graph_testing::pixel(graph_testing::visual_page(), 0, 0), BLUE);
    }
}

TEST(HelpScreens, EditorHelpOpensOnF1InTheEditor) {
    for (const char* tokens : {"1 F1", "2 ;"}) {
        SCOPED_TRACE(tokens);
        EXPECT_EQ(run_keys(tokens), Ending::ScriptEnded);
        EXPECT_EQ(last_screen(), editor_help_calls);
        EXPECT_EQ(graph_testing::pixel(graph_testing::visual_page(), 0, 0), BLUE);
    }
}

TEST(HelpScreens, TablesKeepTheirBarInOneColumn) {
    for (const auto* table : {&main_help_calls, &editor_help_calls}) {
        for (const std::string& call : texts(*table)) {
            const std::string text = call.substr(call.find('"') + 1);
            if (text[0] != '_') {
                EXPECT_EQ(text.find('|'), 17u) << text;
            }
        }
    }
}

TEST(HelpScreens, DismissingKeyIsDiscarded) {
    // x on the help only closes it; the picture comes back unchanged.
    EXPECT_EQ(run_keys("F1 x"), Ending::ScriptEnded);
    EXPECT_EQ(part_scale[1], 1);
    EXPECT_EQ(shown_page(), start_page());
    // In the editor too, and ESC there closes only the help.
    run_keys("1 F1 c");
    EXPECT_EQ(part_color[1], 2);
    EXPECT_EQ(shown_page(), start_page());
}

TEST(HelpScreens, FunctionKeyOnTheHelpDismissesItAndActs) {
    // F1 on the help: its 0 closes the help, its 59 opens it again.
    run_keys("F1 F1");
    int opened = 0;
    for (const std::string& call : graph_testing::trace()) opened += call == main_help_calls[5];
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(graph_testing::pixel(graph_testing::visual_page(), 0, 0), BLUE);
    // F9 on the help: its 0 closes it, its 67 has no action.
    run_keys("F1 F9");
    EXPECT_EQ(shown_page(), start_page());
}

TEST(Credits, PanelOnF2AndItsSecondCode) {
    for (const char* tokens : {"F2", "<"}) {
        SCOPED_TRACE(tokens);
        EXPECT_EQ(run_keys(tokens), Ending::ScriptEnded);  // waiting on the panel
        const std::vector<std::string> calls = last_screen();
        ASSERT_GE(calls.size(), 6u);
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5),
                  (std::vector<std::string>{"SetTextStyle(0, 0, 0)", "SetBkColor(3)", "ClearDevice()",
                                            "SetFillStyle(1, 1)", "Bar(100, 100, 530, 200)"}));
        EXPECT_EQ(calls[5], "SetColor(10)");
        const std::vector<std::string> lines = texts(calls);
        ASSERT_EQ(lines.size(), 4u);
        const char* starts[] = {"OutTextXY(185, 110, ", "OutTextXY(213, 140, ", "OutTextXY(245, 160, ",
                                "OutTextXY(255, 180, "};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(lines[i].rfind(starts[i], 0), 0u) << lines[i];
            for (const char c : lines[i].substr(std::strlen(starts[i])))
                EXPECT_TRUE(c >= 32 && c < 127 && !std::islower(static_cast<unsigned char>(c))) << lines[i];
        }
        EXPECT_EQ(lines[3], R"(OutTextXY(255, 180, "APASATI O TASTA"))");
    }
}

TEST(Credits, TextFitsInsideTheBlueBar) {
    run_keys("<");
    const std::vector<uint8_t> page = shown_page();
    int text_pixels = 0;
    for (int y = 0; y < graph_testing::height(); ++y) {
        for (int x = 0; x < graph_testing::width(); ++x) {
            const uint8_t colour = page[size_t(y) * graph_testing::width() + x];
            const bool in_bar = x >= 100 && x <= 530 && y >= 100 && y <= 200;
            if (colour == LIGHTGREEN) {
                ++text_pixels;
                EXPECT_TRUE(in_bar) << x << ", " << y;
            } else {
                ASSERT_EQ(colour, in_bar ? BLUE : CYAN) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(text_pixels, 400);
}

TEST(Credits, DismissingThePanelResetsTheMachine) {
    // The last key dismisses the panel; F3's second code then only redraws.
    for (const char* tokens : {"p p x d 1 c t s y ESC 2 d ESC b q F2 x", "o o < SPACE", "z z z b w < F3"}) {
        SCOPED_TRACE(tokens);
        EXPECT_EQ(run_keys(tokens), Ending::ScriptEnded);
        EXPECT_EQ(crank_angle, 0.0);
        for (int p = 1; p <= part_count; ++p) {
            EXPECT_EQ(part_scale[p], 1);
            EXPECT_EQ(part_offset_x[p], 200);
            EXPECT_EQ(part_offset_y[p], 180);
            EXPECT_EQ(part_color[p], p + 1);
            EXPECT_EQ(part_line_type[p], 0);
        }
        EXPECT_FALSE(machine_reversed);
        EXPECT_EQ(view_angle, 0.0);
        EXPECT_EQ(shown_page(), start_page());
    }
}

}  // namespace
}  // namespace loco_drive
