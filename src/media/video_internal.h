// What the screen, image and input code of the media layer share: the SDL window, renderer and
// back buffer. Only src/media includes this.
#pragma once

#include <SDL.h>

#include <cstdint>

struct VideoDevice {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* backBuffer = nullptr;  // render target of backWidth x backHeight
  int32_t backWidth = 0;
  int32_t backHeight = 0;
  // What the back buffer owes, when its texture does not yet hold its picture. A grab of the
  // whole back buffer's content may take the texture itself and leave a fresh one in its place,
  // which then owes the taken texture's picture (owedPicture, owned by the grab); a clear may wait
  // (owedClear, in owedColour). Both are dropped when a draw covers the whole back buffer, and
  // paid (SettleBackBuffer) before anything else draws into it or reads it.
  SDL_Texture* owedPicture = nullptr;
  bool owedClear = false;
  int32_t owedColour = 0;
};

extern VideoDevice video;

// The back buffer's debts and its account live in images.cpp beside every function that draws:
// a new drawing function belongs there, and goes through DrawIntoBackBuffer as the rule written
// above them says.

// Points drawing at the back buffer (after a grab or a present left another target set).
void TargetBackBuffer();
// Pays what the back buffer owes, then points drawing at it: call it before reading the back
// buffer.
void SettleBackBuffer();
// Forgets what the back buffer owes (the screen is going away).
void ForgetBackBufferDebts();
// The account forgets every colour it knew: any pixel may hold any colour.
void NoteBackBufferUnknown();

// Images and quads (images.cpp): drop every GPU texture before the renderer goes away; the
// decoded pixels stay, and textures are made again on demand under a new renderer.
void ReleaseImageTextures();
// Forgets every image, quad and drawing setting.
void ReleaseAllImages();

// Scales the back buffer into the window's rectangle `area` in one pass, as crisp as enlarging it
// by the whole `factor` (nearest) and smoothing that down (bilinear) would; false, having drawn
// nothing, where the renderer cannot (then the two passes are the way). crisp_scale.cpp.
bool DrawCrispScaled(const SDL_Rect& area, int32_t factor);
// Forgets the program of that pass (its renderer is going away).
void ForgetCrispScale();

// The notice of ShowNotice (notice.cpp): drawn into the window's rectangle `area` of the picture
// once the back buffer is there; counted down once per present; forgotten with the window.
void DrawNotice(const SDL_Rect& area);
void CountNoticeFrame();
void ForgetNotice();
