// Not built yet: opens the window and waits for ESC.
#include "ic_engine.h"

#include "graph.h"

namespace ic_engine {

void run() {
    InitGraph(DRIVER_256, 6, "MOTOR CU ARDERE INTERNA");
    while (ReadKey() != 27) {
    }
    CloseGraph();
}

}  // namespace ic_engine
