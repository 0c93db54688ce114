#include "loco_drive.h"

int main() {
    loco_drive::run();
    return 0;
}
