#include "cab_lift.h"

int main() {
    cab_lift::run();
    return 0;
}
