#include "pixel.h"

#include <cmath>

double round_half_even(double value) {
    // nearbyint rounds in the current mode, which is round-to-nearest-even
    // unless a program changes it (none does).
    return std::nearbyint(value);
}

namespace {
template <typename Int>
Int saturate(double rounded, double low, double high) {
    if (std::isnan(rounded)) return 0;
    if (rounded <= low) return static_cast<Int>(low);
    if (rounded >= high) return static_cast<Int>(high);
    return static_cast<Int>(rounded);
}
}  // namespace

int16_t to_pixel(double value) {
    return saturate<int16_t>(round_half_even(value), INT16_MIN, INT16_MAX);
}

uint16_t to_radius(double value) {
    return saturate<uint16_t>(round_half_even(std::fabs(value)), 0, UINT16_MAX);
}
