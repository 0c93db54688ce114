// Not built yet: opens the window and waits for ESC.
#include "loco_drive.h"

#include "graph.h"

namespace loco_drive {

void run() {
    InitGraph(DRIVER_256, 6, "ANGRENAJE LOCOMOTIVA");
    while (ReadKey() != 27) {
    }
    CloseGraph();
}

}  // namespace loco_drive
