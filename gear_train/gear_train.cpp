// Not built yet: opens the window and waits for ESC.
#include "gear_train.h"

#include "graph.h"

namespace gear_train {

void run() {
    InitGraph(DRIVER_256, 6, "ANGRENAJ DINTAT CU DINTI IN NUMAR PAR");
    while (ReadKey() != 27) {
    }
    CloseGraph();
}

}  // namespace gear_train
