#pragma once

namespace ic_engine {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

}  // namespace ic_engine
