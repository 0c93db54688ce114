// Drawing one frame of the engine on the active page.
#pragma once

#include "engine.h"

namespace ic_engine {

// In this order, later parts over earlier ones: crank circle, cylinder,
// piston, flame, spark, inner rings, outer rings of the connecting rod.
void draw_engine(const EngineFrame& frame);

}  // namespace ic_engine
