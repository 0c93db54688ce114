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

// The Line and Circle calls of each part in the last drawing of all eight
// parts within a segment, indexed by part number: each part begins with its
// SetLineStyle.
inline std::vector<std::vector<std::string>> parts_of_last_frame(const std::vector<std::string>& lines) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind("SetLineStyle(", 0) == 0) starts.push_back(i);
    std::vector<std::vector<std::string>> parts(part_count + 1);
    if (starts.size() < size_t(part_count)) return parts;
    starts.erase(starts.begin(), starts.end() - part_count);
    for (int p = 1; p <= part_count; ++p) {
        for (size_t i = starts[p - 1] + 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.rfind("Line(", 0) == 0 || line.rfind("Circle(", 0) == 0) parts[p].push_back(line);
            else if (line.rfind("SetColor(", 0) != 0 && line.rfind("GetMax", 0) != 0) break;
        }
    }
    return parts;
}

// The text of a traced OutTextXY call.
inline std::string quoted_text(const std::string& line) {
    const size_t first = line.find('"');
    const size_t last = line.rfind('"');
    return first == std::string::npos || last == first ? "" : line.substr(first + 1, last - first - 1);
}

// The picture on the visual page.
inline std::vector<uint8_t> shown_picture() { return gt::page(gt::visual_page()); }

// The assembled machine as the program shows it after its start.
inline std::vector<uint8_t> start_picture() {
    run_keys("");
    return shown_picture();
}

}  // namespace backhoe::testing
