#include "backhoe.h"

int main() {
    backhoe::run();
    return 0;
}
