// The zoom pass copies the finished play field out of the back buffer and draws it back over
// the whole screen, so that FULLSCREENZOOM below 1.0 magnifies its top-left part. The copy
// always starts at pixel (1, 1).
#include "game/zoom_pass.h"

#include "core/game_state.h"
#include "core/settings.h"
#include "media/screen.h"
#include "media/text.h"

namespace {

// One side of the grab: the screen's side times FULLSCREENZOOM, less one pixel. A zoom that
// asks for nothing (zero, negative or not a number) grabs nothing; one above 1.0 asks for more
// than the back buffer holds, and the media layer clips the grab to it.
int32_t GrabSide(float screenSide) {
  const int32_t side = RoundHalfEven(screenSide * settings.FULLSCREENZOOM - 1.0f);
  return side < 0 ? 0 : side;
}

}  // namespace

void FreeZoomPicture() {
  if (QuadExists(gameState.zoomSprite3D)) FreeQuad(gameState.zoomSprite3D);
  if (ImageExists(gameState.zoomSprite)) FreeImage(gameState.zoomSprite);
}

void GrabZoomPicture() {
  FreeZoomPicture();
  gameState.zoomSprite =
      GrabBackBuffer(-1, 1, 1, GrabSide(gameState.screenWidth), GrabSide(gameState.screenHeight));
  gameState.zoomSprite3D = MakeQuad(-1, gameState.zoomSprite);
}

void ZoomPass(int8_t smooth) {
  SetQuadFiltering(0);
  SetQuadBlending(5, 6);
  SetTransparentColour(kMagenta);
  SetQuadFiltering(smooth);
  GrabZoomPicture();
  ResizeQuad(gameState.zoomSprite3D, RoundHalfEven(gameState.screenWidth), RoundHalfEven(gameState.screenHeight));
  // A grab that failed leaves the play field black under the display for this frame.
  ClearBackBuffer(kBlack);
  DrawQuad(gameState.zoomSprite3D, 0, 0, 255);
  SetQuadFiltering(0);
}
