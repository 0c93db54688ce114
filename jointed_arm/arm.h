// The arm's pose: six links of 50 pixels from a base below the window's
// centre. The mouse's x, read as degrees, turns the whole arm; its distance
// below the window's middle bends every joint by the same amount.
#pragma once

#include <array>
#include <cstdint>

namespace jointed_arm {

// Links drawn after the first one, and the length of every link.
constexpr int32_t segment_count = 5;
constexpr double segment_length = 50.0;
constexpr double joint_radius = 5.0;

// One link from (from_x, from_y) to (to_x, to_y), window pixels, y downwards.
struct Link {
    double from_x;
    double from_y;
    double to_x;
    double to_y;
};

// links[0] is drawn from 5 pixels below the base point; links[1..5] each
// start at a joint, where the previous link ends.
using ArmPose = std::array<Link, segment_count + 1>;

// The pose for the mouse at (mouse_x, mouse_y) in a window whose largest
// coordinates are max_x and max_y.
ArmPose arm_pose(int32_t mouse_x, int32_t mouse_y, int max_x, int max_y);

}  // namespace jointed_arm
