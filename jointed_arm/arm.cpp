#include "arm.h"

#include <cmath>
#include <numbers>

namespace jointed_arm {

ArmPose arm_pose(int32_t mouse_x, int32_t mouse_y, int max_x, int max_y) {
    constexpr double pi = std::numbers::pi;
    ArmPose links{};
    const double base_angle = mouse_x * pi / 180;
    const double pivot_x = max_x / 2.0;
    const double pivot_y = max_y / 2.0;

    // The base point is 10 pixels below the window's centre; the first link
    // points along base_angle from it but is drawn from 5 pixels lower still.
    double joint_x = pivot_x;
    double joint_y = pivot_y + 10;
    double tip_x = joint_x + segment_length * std::cos(base_angle);
    double tip_y = joint_y + segment_length * std::sin(base_angle);
    links[0] = {joint_x, joint_y + 5, tip_x, tip_y};

    // 15 degrees of bend per 40 pixels below the middle, accumulating along
    // the chain; the first of these links continues the first link.
    for (int32_t i = 0; i < segment_count; ++i) {
        joint_x = tip_x;
        joint_y = tip_y;
        const double segment_angle =
            base_angle + i * 15 * (mouse_y / 40.0 - (max_y / 2.0) / 40) * pi / 180;
        tip_x = joint_x + segment_length * std::cos(segment_angle);
        tip_y = joint_y + segment_length * std::sin(segment_angle);
        links[i + 1] = {joint_x, joint_y, tip_x, tip_y};
    }
    return links;
}

}  // namespace jointed_arm
