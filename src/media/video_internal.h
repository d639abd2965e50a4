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
};

extern VideoDevice video;

// Points drawing at the back buffer (after a grab or a present left another target set).
void TargetBackBuffer();

// Images and quads (images.cpp): drop every GPU texture before the renderer goes away; the
// decoded pixels stay, and textures are made again on demand under a new renderer.
void ReleaseImageTextures();
// Forgets every image, quad and drawing setting.
void ReleaseAllImages();
