// The full-screen zoom pass: the finished play field is grabbed and drawn back stretched.
#pragma once

#include <cstdint>

void ZoomPass(int8_t smooth);

// Frees the grabbed picture (zoomSprite3D, then zoomSprite) if it exists.
void FreeZoomPicture();
// Frees the previous picture, then grabs the back buffer as drawn so far from (1, 1), of
// screen size x FULLSCREENZOOM - 1 each way, into zoomSprite and a quad of it into
// zoomSprite3D. The map announcement and the game-over screen freeze the play field with it.
void GrabZoomPicture();
