// Images and quads. Decoded pixels live in memory from the load on; GPU textures are made from
// them only while a screen is open, so everything but drawing works without a display.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "media/blending.h"
#include "media/files.h"
#include "media/handles.h"
#include "media/image_codecs.h"
#include "media/screen.h"
#include "media/video_internal.h"

namespace {

// Files bigger than this are not images we would ever draw.
constexpr std::streamoff kMaxImageFileBytes = std::streamoff{256} << 20;

struct Image {
  int32_t width = 0;
  int32_t height = 0;
  int32_t mode = 0;
  int32_t key = -1;             // transparent colour, -1 for none
  bool hasKeyed = false;        // some pixel has the key's colour
  std::vector<uint8_t> pixels;  // decoded RGBA; empty for grabs until ImagePixel reads one back
  bool grabbed = false;         // the texture is a copy of the back buffer made on the GPU
  SDL_Texture* texture = nullptr;             // keyed pixels as (0,0,0,0)
  std::map<uint32_t, SDL_Texture*> variants;  // keyed pixels as another neutral texel
  bool textureFailed = false;                 // do not retry a refused texture every frame
};

struct Quad {
  int32_t image = 0;
  int32_t width = 0;
  int32_t height = 0;
  float accumulated = 0;  // every rotation added since the quad was made
  float drawn = 0;        // the angle it is drawn at (0 after a resize)
  int32_t colour = kWhite;
};

HandleTable<Image> images;
HandleTable<Quad> quads;
int32_t defaultKey = kMagenta;
BlendPair blending;
bool bilinear = false;
std::map<BlendPair, SDL_BlendMode> blendModes;  // per pair, what the renderer accepted
// Grab targets of freed grabs, kept for the next grab of the same size (the zoom pass grabs
// the whole screen every frame).
std::vector<SDL_Texture*> spareGrabTargets;

int32_t KeyOf(int32_t colour) { return colour < 0 ? -1 : (colour & 0xFFFFFF); }

bool IsKeyed(const Image& image, const uint8_t* p) {
  return image.key >= 0 && (p[0] | p[1] << 8 | p[2] << 16) == image.key;
}

void ApplyKey(Image& image) {
  image.hasKeyed = false;
  if (image.grabbed) return;
  for (size_t i = 0; i + 3 < image.pixels.size() && !image.hasKeyed; i += 4) image.hasKeyed = IsKeyed(image, &image.pixels[i]);
}

void DestroyTextures(Image& image) {
  if (image.texture) {
    int w = 0, h = 0;
    if (image.grabbed && video.renderer && spareGrabTargets.size() < 2 &&
        SDL_QueryTexture(image.texture, nullptr, nullptr, &w, &h) == 0) {
      spareGrabTargets.push_back(image.texture);
    } else {
      SDL_DestroyTexture(image.texture);
    }
  }
  for (auto& [neutral, texture] : image.variants) SDL_DestroyTexture(texture);
  image.texture = nullptr;
  image.variants.clear();
  image.textureFailed = false;
}

SDL_Texture* MakeTexture(const Image& image, uint32_t neutral) {
  SDL_Texture* texture =
      SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, image.width, image.height);
  if (!texture) return nullptr;
  std::vector<uint8_t> texels = image.pixels;
  if (image.hasKeyed) {
    const uint8_t n[4] = {static_cast<uint8_t>(neutral), static_cast<uint8_t>(neutral >> 8),
                          static_cast<uint8_t>(neutral >> 16), static_cast<uint8_t>(neutral >> 24)};
    for (size_t i = 0; i < texels.size(); i += 4)
      if (IsKeyed(image, &image.pixels[i])) std::copy(n, n + 4, &texels[i]);
  }
  if (SDL_UpdateTexture(texture, nullptr, texels.data(), image.width * 4) != 0) {
    SDL_DestroyTexture(texture);
    return nullptr;
  }
  return texture;
}

// The texture to draw the image with when keyed pixels must be the given neutral texel.
SDL_Texture* TextureFor(Image& image, uint32_t neutral) {
  if (!video.renderer) return nullptr;
  if (image.grabbed) return image.texture;
  if (neutral == 0 || !image.hasKeyed) {
    if (!image.texture && !image.textureFailed) {
      image.texture = MakeTexture(image, 0);
      image.textureFailed = image.texture == nullptr;
    }
    return image.texture;
  }
  auto found = image.variants.find(neutral);
  if (found != image.variants.end()) return found->second;
  SDL_Texture* texture = MakeTexture(image, neutral);
  if (texture) image.variants[neutral] = texture;
  return texture;
}

SDL_BlendFactor SdlFactor(int32_t factor) {
  switch (factor) {
    case 1: return SDL_BLENDFACTOR_ZERO;
    case 2: return SDL_BLENDFACTOR_ONE;
    case 3: return SDL_BLENDFACTOR_SRC_COLOR;
    case 4: return SDL_BLENDFACTOR_ONE_MINUS_SRC_COLOR;
    case 6: return SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA;
    case 7: return SDL_BLENDFACTOR_DST_ALPHA;
    case 8: return SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA;
    case 9: return SDL_BLENDFACTOR_DST_COLOR;
    case 10: return SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR;
    default: return SDL_BLENDFACTOR_SRC_ALPHA;  // 5 and 11
  }
}

// The renderer's mode for the pair: the exact one where the renderer takes it, else the nearest
// of SDL's built-in modes, decided once per pair.
SDL_BlendMode ModeFor(BlendPair pair, SDL_Texture* texture) {
  auto found = blendModes.find(pair);
  if (found != blendModes.end()) return found->second;
  // The back buffer's alpha is left as it is, so it stays opaque.
  const SDL_BlendMode exact =
      SDL_ComposeCustomBlendMode(SdlFactor(pair.source), SdlFactor(pair.destination), SDL_BLENDOPERATION_ADD,
                                 SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
  SDL_BlendMode chosen = exact;
  if (SDL_SetTextureBlendMode(texture, exact) != 0) {
    if (pair.destination == 2) {
      chosen = SDL_BLENDMODE_ADD;
    } else if (pair.source == 9 || pair.destination == 3) {
      chosen = SDL_BLENDMODE_MOD;
    } else {
      chosen = SDL_BLENDMODE_BLEND;
    }
  }
  blendModes[pair] = chosen;
  return chosen;
}

}  // namespace

void TargetBackBuffer() {
  if (video.renderer && video.backBuffer) SDL_SetRenderTarget(video.renderer, video.backBuffer);
}

void ReleaseImageTextures() {
  for (auto& [id, image] : images.All()) DestroyTextures(image);
  for (SDL_Texture* texture : spareGrabTargets) SDL_DestroyTexture(texture);
  spareGrabTargets.clear();
  blendModes.clear();
}

void ReleaseAllImages() {
  ReleaseImageTextures();
  images.Clear();
  quads.Clear();
  defaultKey = kMagenta;
  blending = BlendPair{};
  bilinear = false;
}

// --- Images ---------------------------------------------------------------------------------

void SetTransparentColour(int32_t image, int32_t colour) {
  if (image == -1) {
    defaultKey = KeyOf(colour);
    return;
  }
  Image* found = images.Find(image);
  if (!found || found->grabbed) return;
  DestroyTextures(*found);
  found->key = KeyOf(colour);
  ApplyKey(*found);
}

int32_t LoadImage(int32_t id, const std::string& path, int32_t mode) {
  std::ifstream file(ResolvePath(path), std::ios::binary);
  if (!file) return 0;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size <= 0 || size > kMaxImageFileBytes) return 0;
  file.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return 0;
  RgbaPicture picture;
  if (!DecodeImage(bytes, picture)) return 0;

  Image image;
  image.width = picture.width;
  image.height = picture.height;
  image.mode = mode;
  image.key = defaultKey;
  image.pixels = std::move(picture.pixels);
  ApplyKey(image);
  if (Image* old = images.Find(id)) DestroyTextures(*old);
  const int32_t result = images.Add(id, std::move(image));
  TextureFor(*images.Find(result), 0);  // made now while a screen is open, else at the first draw
  return result;
}

int32_t GrabBackBuffer(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, int32_t mode) {
  if (!video.renderer || !video.backBuffer) return 0;
  SDL_Rect wanted{x, y, width, height};
  const SDL_Rect whole{0, 0, video.backWidth, video.backHeight};
  SDL_Rect area;
  if (width < 1 || height < 1 || !SDL_IntersectRect(&wanted, &whole, &area)) return 0;

  SDL_Texture* target = nullptr;
  for (auto it = spareGrabTargets.begin(); it != spareGrabTargets.end(); ++it) {
    int w = 0, h = 0;
    SDL_QueryTexture(*it, nullptr, nullptr, &w, &h);
    if (w == area.w && h == area.h) {
      target = *it;
      spareGrabTargets.erase(it);
      break;
    }
  }
  if (!target) target = SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, area.w, area.h);
  if (!target) return 0;
  SDL_SetRenderTarget(video.renderer, target);
  SDL_SetTextureBlendMode(video.backBuffer, SDL_BLENDMODE_NONE);
  SDL_SetTextureColorMod(video.backBuffer, 255, 255, 255);
  SDL_SetTextureAlphaMod(video.backBuffer, 255);
  SDL_SetTextureScaleMode(video.backBuffer, SDL_ScaleModeNearest);
  SDL_RenderCopy(video.renderer, video.backBuffer, &area, nullptr);
  TargetBackBuffer();

  Image image;
  image.width = area.w;
  image.height = area.h;
  image.mode = mode;
  image.grabbed = true;
  image.texture = target;
  if (Image* old = images.Find(id)) DestroyTextures(*old);
  return images.Add(id, std::move(image));
}

bool ImageExists(int32_t image) { return images.Find(image) != nullptr; }

void FreeImage(int32_t image) {
  Image* found = images.Find(image);
  if (!found) return;
  DestroyTextures(*found);
  images.Remove(image);
}

int32_t ImageWidth(int32_t image) {
  const Image* found = images.Find(image);
  return found ? found->width : 0;
}

int32_t ImageHeight(int32_t image) {
  const Image* found = images.Find(image);
  return found ? found->height : 0;
}

uint32_t ImagePixel(int32_t image, int32_t x, int32_t y) {
  Image* found = images.Find(image);
  if (!found || x < 0 || y < 0 || x >= found->width || y >= found->height) return 0;
  if (found->grabbed && found->pixels.empty()) {
    // Tests only: read the grab back from the GPU once.
    if (!video.renderer || !found->texture) return 0;
    found->pixels.resize(static_cast<size_t>(found->width) * found->height * 4);
    SDL_SetRenderTarget(video.renderer, found->texture);
    const int result = SDL_RenderReadPixels(video.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, found->pixels.data(), found->width * 4);
    TargetBackBuffer();
    if (result != 0) {
      found->pixels.clear();
      return 0;
    }
  }
  const uint8_t* p = &found->pixels[(static_cast<size_t>(y) * found->width + x) * 4];
  if (IsKeyed(*found, p) && !found->grabbed) return 0;
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// --- Quads ----------------------------------------------------------------------------------

int32_t MakeQuad(int32_t id, int32_t image) {
  const Image* found = images.Find(image);
  if (!found) return 0;
  Quad quad;
  quad.image = image;
  quad.width = found->width;
  quad.height = found->height;
  return quads.Add(id, std::move(quad));
}

bool QuadExists(int32_t quad) { return quads.Find(quad) != nullptr; }
void FreeQuad(int32_t quad) { quads.Remove(quad); }

void ResizeQuad(int32_t quad, int32_t width, int32_t height) {
  Quad* found = quads.Find(quad);
  if (!found) return;
  found->width = width;
  found->height = height;
  found->drawn = 0;
}

void RotateQuad(int32_t quad, float angle, int32_t mode) {
  Quad* found = quads.Find(quad);
  if (!found) return;
  found->accumulated = mode == 1 ? found->accumulated + angle : angle;
  found->drawn = found->accumulated;
}

void SetQuadColour(int32_t quad, int32_t colour) {
  if (Quad* found = quads.Find(quad)) found->colour = colour & 0xFFFFFF;
}

int32_t QuadWidth(int32_t quad) {
  const Quad* found = quads.Find(quad);
  return found ? found->width : 0;
}

int32_t QuadHeight(int32_t quad) {
  const Quad* found = quads.Find(quad);
  return found ? found->height : 0;
}

float QuadAngle(int32_t quad) {
  const Quad* found = quads.Find(quad);
  return found ? found->drawn : 0.0f;
}

float QuadAccumulatedRotation(int32_t quad) {
  const Quad* found = quads.Find(quad);
  return found ? found->accumulated : 0.0f;
}

void SetQuadBlending(int32_t source, int32_t destination) { blending = NormalBlendPair(source, destination); }
void SetQuadFiltering(int32_t flag) { bilinear = flag != 0; }
void BeginQuads() { TargetBackBuffer(); }
void EndQuads() { TargetBackBuffer(); }

void DrawQuad(int32_t quad, int32_t x, int32_t y, int32_t alpha) {
  if (!video.renderer) return;
  const Quad* found = quads.Find(quad);
  Image* image = found ? images.Find(found->image) : nullptr;
  if (!image || found->width == 0 || found->height == 0) return;
  SDL_Texture* texture = TextureFor(*image, NeutralTexel(blending));
  if (!texture) return;
  SDL_SetTextureColorMod(texture, found->colour & 255, (found->colour >> 8) & 255, (found->colour >> 16) & 255);
  SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(std::clamp(alpha, 0, 255)));
  SDL_SetTextureBlendMode(texture, ModeFor(blending, texture));
  SDL_SetTextureScaleMode(texture, bilinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  // A negative size mirrors the quad about its drawing point.
  int flip = SDL_FLIP_NONE;
  SDL_FRect area{static_cast<float>(x), static_cast<float>(y), static_cast<float>(found->width),
                 static_cast<float>(found->height)};
  if (area.w < 0) area.x += area.w, area.w = -area.w, flip |= SDL_FLIP_HORIZONTAL;
  if (area.h < 0) area.y += area.h, area.h = -area.h, flip |= SDL_FLIP_VERTICAL;
  SDL_RenderCopyExF(video.renderer, texture, nullptr, &area, found->drawn, nullptr, static_cast<SDL_RendererFlip>(flip));
}
