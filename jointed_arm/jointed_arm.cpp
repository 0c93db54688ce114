// Not built yet: opens the window and waits for ESC.
#include "jointed_arm.h"

#include "graph.h"

namespace jointed_arm {

void run() {
    InitGraph(DRIVER_256, 6, "BRAT ARTICULAT");
    while (ReadKey() != 27) {
    }
    CloseGraph();
}

}  // namespace jointed_arm
