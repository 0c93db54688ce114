#pragma once

namespace backhoe {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

}  // namespace backhoe
