// How a picture or a page frames a model, whatever its size: the model is
// moved to the origin and scaled to one radius, and a camera looks at it from
// the front right, above, with a headlight and a light from above.
#pragma once
#include "world_bounds.h"

constexpr double kFramingFieldOfView = 0.785398;
constexpr double kFramingSky[3] = {0.18, 0.2, 0.24};
constexpr double kFramingLight[3] = {-0.3, -1, -0.5};
constexpr double kFramingLightIntensity = 0.5;

struct ModelFraming {
  double translation[3];  // applied after `scale`, in the framed units
  double scale;
  double position[3];     // the camera's
  double orientation[4];  // axis and angle that turn the default view (along -z, y up) to the model
};

ModelFraming frameModel(const WorldBounds& bounds);
