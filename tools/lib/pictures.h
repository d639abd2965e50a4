// The full-screen pictures (1280 x 720, drawn stretched to the screen): the title picture and
// the two credits/loading pictures. The game writes its own text over them, so the areas the
// text uses are kept calm and dark.
#pragma once

#include "canvas.h"

namespace gen {

constexpr int kPictureWidth = 1280;
constexpr int kPictureHeight = 720;

// A night horizon: starry sky, a striped sun on the right, a neon tile floor below.
Canvas DrawTitlePicture();
// Credits pages: a calm dark middle framed by bands of labyrinth tiles. variant 0 or 1.
Canvas DrawLoadPicture(int variant);

}  // namespace gen
