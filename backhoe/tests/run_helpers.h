// Running the program headless with a key script, and reading what it drew.
#pragma once

#include <string>
#include <vector>

#include "backhoe.h"
#include "graph_testing.h"

namespace backhoe::testing {

namespace gt = graph_testing;

// Runs the program with the keys of a token string ("p o 1 c ESC F1"),
// recording the trace.
inline gt::Ending run_keys(const std::string& tokens, const gt::Hooks& hooks = {}) {
    gt::Script script;
    script.trace = true;
    script.tokens(tokens);
    return gt::run_with(backhoe::run, script, hooks);
}

// The trace cut at each key read: segment 0 runs from the start to the first
// ReadKey result, segment n from the n-th key to the next.
inline std::vector<std::vector<std::string>> trace_by_key() {
    std::vector<std::vector<std::string>> segments(1);
    for (const std::string& line : gt::trace()) {
        if (line.rfind("ReadKey() = ", 0) == 0) segments.emplace_back();
        segments.back().push_back(line);
    }
    return segments;
}

inline int count_calls(const std::vector<std::string>& lines, const std::string& name) {
    int n = 0;
    for (const std::string& line : lines)
        if (line.rfind(name + "(", 0) == 0) ++n;
    return n;
}

// The Line and Circle calls of each part in the last complete frame of a
// segment, indexed by part number: every part begins with its SetLineStyle.
inline std::vector<std::vector<std::string>> parts_of_last_frame(const std::vector<std::string>& lines) {
    size_t end = lines.size();
    while (end > 0 && lines[end - 1].rfind("SetVisualPage(", 0) != 0) --end;
    size_t begin = end;
    int styles = 0;
    while (begin > 0 && styles < part_count) {
        --begin;
        if (lines[begin].rfind("SetLineStyle(", 0) == 0) ++styles;
    }
    std::vector<std::vector<std::string>> parts(part_count + 1);
    int part = 0;
    for (size_t i = begin; i < end; ++i) {
        const std::string& line = lines[i];
        if (line.rfind("SetLineStyle(", 0) == 0) ++part;
        else if (line.rfind("Line(", 0) == 0 || line.rfind("Circle(", 0) == 0) parts[part].push_back(line);
    }
    return parts;
}

// The picture on the visual page.
inline std::vector<uint8_t> shown_picture() { return gt::page(gt::visual_page()); }

// The assembled machine as the program shows it after its start.
inline std::vector<uint8_t> start_picture() {
    run_keys("");
    return shown_picture();
}

}  // namespace backhoe::testing
