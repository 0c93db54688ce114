#include "ic_engine.h"

int main() {
    ic_engine::run();
    return 0;
}
