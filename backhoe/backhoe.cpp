// Not built yet: opens the window and waits for ESC.
#include "backhoe.h"

#include "graph.h"

namespace backhoe {

void run() {
    InitGraph(DRIVER_256, 4, "FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA");
    while (ReadKey() != 27) {
    }
    CloseGraph();
}

}  // namespace backhoe
