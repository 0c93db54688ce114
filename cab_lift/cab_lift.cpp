// Not built yet: opens the window and waits for ESC.
#include "cab_lift.h"

#include "graph.h"

namespace cab_lift {

void run() {
    InitGraph(DRIVER_256, 4, "DISPOZITIV DE RIDICAT CABINA EXCAVATORULUI");
    while (ReadKey() != 27) {
    }
    CloseGraph();
}

}  // namespace cab_lift
