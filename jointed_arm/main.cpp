#include "jointed_arm.h"

int main() {
    jointed_arm::run();
    return 0;
}
