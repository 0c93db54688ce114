#include "gear_train.h"

int main() {
    gear_train::run();
    return 0;
}
