// Images and quads. Decoded pixels live in memory from the load on; GPU textures are made from
// them only while a screen is open, so everything but drawing works without a display. Every
// image loaded from one file shares that file's pixels and textures: the file is decoded once,
// however many copies of it the game loads, and the decoded pixels of all files together are
// kept within a budget. Every function that draws into the back buffer or grabs from it is
// here too, at the end, under the rule they all keep.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <numbers>
#include <set>
#include <tuple>
#include <vector>

#include "media/blending.h"
#include "media/files.h"
#include "media/handles.h"
#include "media/image_codecs.h"
#include "media/internal.h"
#include "media/probes.h"
#include "media/screen.h"
#include "media/video_internal.h"

namespace {

// The decoded pixels of all image files together stay within this.
constexpr int64_t kImageMemoryBudget = int64_t{512} << 20;

// A file as the file system knows it: the same file under two names, or loaded twice, is one.
using FileIdentity = std::tuple<dev_t, ino_t, off_t, time_t, long>;

// Straight RGBA pixels, decoded from one file or read back from the back buffer by a grab, with
// the textures made of them. Shared by every image made from them.
struct Pixels {
  Pixels();
  ~Pixels();
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;

  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;
  std::map<int32_t, bool> keyed;  // per key colour: whether some pixel has it
  // Per key colour and neutral texel (-1 and 0 for the plain pixels); nullptr where refused.
  std::map<std::pair<int32_t, uint32_t>, SDL_Texture*> textures;
  SDL_Texture* gpuCopy = nullptr;  // a grab's copy made on the GPU, drawn while nothing is keyed
  SDL_Rect gpuArea{0, 0, 0, 0};    // the grab's rectangle in gpuCopy (a former back buffer's texture is larger)
  bool fromFile = false;           // decoded from a file: counted in the budget and found by identity
  bool opaque = false;             // every pixel's alpha is 255 (a grab's always is: the back buffer is opaque)
  bool binaryAlpha = false;        // every pixel's alpha is 0 or 255
  // A grab drawn from its GPU copy holds no pixels here: they are read back from the copy
  // only if something asks for them (EnsurePixels).
  FileIdentity source{};
};

struct Image {
  int32_t width = 0;
  int32_t height = 0;
  int32_t key = -1;       // transparent colour, -1 for none
  bool hasKeyed = false;  // some pixel has the key's colour
  std::shared_ptr<Pixels> pixels;
};

struct Quad {
  int32_t image = 0;
  int32_t width = 0;
  int32_t height = 0;
  float accumulated = 0;  // every rotation added since the quad was made
  float drawn = 0;        // the angle it is drawn at (0 after a resize)
  int32_t colour = kWhite;
};

int32_t defaultKey = kMagenta;
BlendPair blending;
uint32_t blendingNeutral = 0;  // NeutralTexel(blending), worked out when the pair changes
bool bilinear = false;
std::map<BlendPair, SDL_BlendMode> blendModes;  // per pair, what the renderer accepted
// Grab targets of freed grabs, kept for the next grab of the same size (the zoom pass grabs
// the whole screen every frame).
std::vector<SDL_Texture*> spareGrabTargets;
// The pixels of the last grab as read back, in the back buffer's own format (no conversion),
// kept from frame to frame so that the zoom pass's grab allocates nothing.
std::vector<uint32_t> grabReadBack;

std::set<Pixels*> livePixels;  // every Pixels, for dropping the textures with the renderer
std::map<FileIdentity, std::weak_ptr<Pixels>> decodedFiles;
std::set<FileIdentity> undecodableFiles;  // tried once, not tried again
int64_t imageBudget = kImageMemoryBudget;
int64_t decodedBytes = 0;                    // pixels of files held now
std::set<std::string> overBudgetDirectories;  // each is said once
std::set<std::string> reportedFiles;          // files said to be left out for lack of memory

// The account of what the back buffer may hold (see "Drawing into the back buffer" below):
// since the last clear or covering draw, the colours of clears and boxes, the pixels of quads
// drawn texel for texel (no filtering, no tint, and each texel either replacing its pixel or
// leaving it: no blending, or whole-or-nothing alpha over the usual pair), with the key those
// draws left out, and the rectangles of every other draw. It holds those pixels weakly, so that
// it keeps no freed image alive; pixels gone by the time of a grab are pixels it can no longer
// vouch for.
struct BackBufferAccount {
  bool allUnknown = true;
  std::vector<int32_t> colours;
  struct Copied {
    std::weak_ptr<Pixels> pixels;
    int32_t keyedOut;  // the colour whose texels were left out of the draw, -1 for none
  };
  std::vector<Copied> copied;
  std::vector<SDL_Rect> unknown;

  void Reset(bool unknownAll) {
    allUnknown = unknownAll;
    colours.clear();
    copied.clear();
    unknown.clear();
  }
  void AddUnknown(const SDL_Rect& area) {
    if (allUnknown) return;
    // Many small rectangles (text) become the one around them all.
    if (unknown.size() >= 64) {
      SDL_Rect all = unknown[0];
      for (const SDL_Rect& r : unknown) SDL_UnionRect(&all, &r, &all);
      unknown.assign(1, all);
    }
    unknown.push_back(area);
  }
};
BackBufferAccount account;

// Declared after what the images' pixels touch when they go, so that they go first at exit.
HandleTable<Image> images;
HandleTable<Quad> quads;

Pixels::Pixels() { livePixels.insert(this); }

void DestroyTextures(Pixels& pixels) {
  for (auto& [key, texture] : pixels.textures)
    if (texture) SDL_DestroyTexture(texture);
  pixels.textures.clear();
  if (pixels.gpuCopy && pixels.gpuCopy == video.owedPicture) SettleBackBuffer();  // still owed to the back buffer
  if (pixels.gpuCopy) {
    if (video.renderer && spareGrabTargets.size() < 2) {
      spareGrabTargets.push_back(pixels.gpuCopy);
    } else {
      SDL_DestroyTexture(pixels.gpuCopy);
    }
  }
  pixels.gpuCopy = nullptr;
}

Pixels::~Pixels() {
  DestroyTextures(*this);
  livePixels.erase(this);
  if (fromFile) {
    decodedBytes -= static_cast<int64_t>(rgba.size());
    auto entry = decodedFiles.find(source);
    if (entry != decodedFiles.end() && entry->second.expired()) decodedFiles.erase(entry);
  }
}

int32_t KeyOf(int32_t colour) { return colour < 0 ? -1 : (colour & 0xFFFFFF); }

bool IsKeyed(int32_t key, const uint8_t* p) { return key >= 0 && (p[0] | p[1] << 8 | p[2] << 16) == key; }

// The pixels of a grab that holds only its GPU copy, read back from that copy.
void EnsurePixels(Pixels& pixels) {
  if (!pixels.rgba.empty() || !pixels.gpuCopy || !video.renderer) return;
  std::vector<uint8_t> rgba(static_cast<size_t>(pixels.width) * pixels.height * 4);
  SDL_Texture* target = SDL_GetRenderTarget(video.renderer);
  const bool read = SDL_SetRenderTarget(video.renderer, pixels.gpuCopy) == 0 &&
                    SDL_RenderReadPixels(video.renderer, &pixels.gpuArea, SDL_PIXELFORMAT_RGBA32, rgba.data(), pixels.width * 4) == 0;
  SDL_SetRenderTarget(video.renderer, target);
  if (read) pixels.rgba = std::move(rgba);
}

// Whether some pixel has the key's colour, looked for once per key.
bool HasKeyColour(Pixels& pixels, int32_t key) {
  auto known = pixels.keyed.find(key);
  if (known != pixels.keyed.end()) return known->second;
  EnsurePixels(pixels);
  bool found = false;
  for (size_t i = 0; i + 3 < pixels.rgba.size() && !found; i += 4) found = IsKeyed(key, &pixels.rgba[i]);
  return pixels.keyed.emplace(key, found).first->second;
}

// Reads a rectangle of the back buffer into grabReadBack, in its own format (ARGB8888).
bool ReadBackBuffer(const SDL_Rect& part) {
  const size_t count = static_cast<size_t>(part.w) * part.h;
  if (grabReadBack.size() < count) grabReadBack.resize(count);
  return SDL_RenderReadPixels(video.renderer, &part, SDL_PIXELFORMAT_ARGB8888, grabReadBack.data(), part.w * 4) == 0;
}

// Whether one of the first `count` pixels read back has the key's colour.
bool ReadBackHasKey(size_t count, int32_t key) {
  const uint32_t argb = static_cast<uint32_t>((key & 255) << 16 | (key & 0xFF00) | (key >> 16 & 255));
  bool keyed = false;
  for (size_t i = 0; i < count; i++) keyed |= (grabReadBack[i] & 0xFFFFFF) == argb;
  return keyed;
}

void SetKey(Image& image, int32_t key) {
  image.key = key;
  image.hasKeyed = false;
  if (key < 0) return;
  image.hasKeyed = HasKeyColour(*image.pixels, key);
}

SDL_Texture* MakeTexture(const Pixels& pixels, int32_t key, uint32_t neutral) {
  SDL_Texture* texture =
      SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, pixels.width, pixels.height);
  if (!texture) return nullptr;
  int result = 0;
  if (key < 0) {
    result = SDL_UpdateTexture(texture, nullptr, pixels.rgba.data(), pixels.width * 4);
  } else {
    std::vector<uint8_t> texels = pixels.rgba;
    const uint8_t n[4] = {static_cast<uint8_t>(neutral), static_cast<uint8_t>(neutral >> 8),
                          static_cast<uint8_t>(neutral >> 16), static_cast<uint8_t>(neutral >> 24)};
    for (size_t i = 0; i < texels.size(); i += 4)
      if (IsKeyed(key, &pixels.rgba[i])) std::copy(n, n + 4, &texels[i]);
    result = SDL_UpdateTexture(texture, nullptr, texels.data(), pixels.width * 4);
  }
  if (result != 0) {
    SDL_DestroyTexture(texture);
    return nullptr;
  }
  return texture;
}

// The texture to draw the image with when keyed pixels must be the given neutral texel. Images
// of the same pixels and key share it.
SDL_Texture* TextureFor(Image& image, uint32_t neutral) {
  if (!video.renderer) return nullptr;
  Pixels& pixels = *image.pixels;
  if (!image.hasKeyed && pixels.gpuCopy) return pixels.gpuCopy;
  const std::pair<int32_t, uint32_t> wanted = image.hasKeyed ? std::make_pair(image.key, neutral) : std::make_pair(-1, 0u);
  auto found = pixels.textures.find(wanted);
  if (found != pixels.textures.end()) return found->second;
  EnsurePixels(pixels);
  SDL_Texture* texture = MakeTexture(pixels, wanted.first, wanted.second);
  pixels.textures[wanted] = texture;  // a refused texture is not tried again every frame
  return texture;
}

// A render-target texture of the size: a spare one kept from a freed grab, else a new one.
SDL_Texture* TakeSpareTarget(int32_t width, int32_t height) {
  for (auto it = spareGrabTargets.begin(); it != spareGrabTargets.end(); ++it) {
    int w = 0, h = 0;
    SDL_QueryTexture(*it, nullptr, nullptr, &w, &h);
    if (w == width && h == height) {
      SDL_Texture* texture = *it;
      spareGrabTargets.erase(it);
      return texture;
    }
  }
  return SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
}

// Says once per directory that its images went beyond the budget.
void ReportOverBudget(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (!overBudgetDirectories.insert(directory).second) return;
  std::fprintf(stderr, "quorvex: the images of %s take more than %lld MB decoded; %s and any others beyond that are left out\n",
               directory.c_str(), static_cast<long long>(imageBudget >> 20), path.c_str());
}

// The decoded pixels of an image file: shared with every image already loaded from it, else
// decoded now within the budget. nullptr when the file is missing or not an image.
std::shared_ptr<Pixels> DecodedFile(const std::string& path) {
  const std::string resolved = ResolvePath(path);
  struct stat st;
  if (resolved.empty() || ::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  const FileIdentity identity{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
  auto known = decodedFiles.find(identity);
  if (known != decodedFiles.end())
    if (std::shared_ptr<Pixels> shared = known->second.lock()) return shared;
  if (undecodableFiles.count(identity)) return nullptr;

  std::vector<uint8_t> bytes;
  RgbaPicture picture;
  bool tooLarge = false;
  const int64_t room = std::max<int64_t>(0, imageBudget - decodedBytes) / 4;
  if (!ReadWholeFile(resolved, kMaxImageFileBytes, bytes) || !DecodeImageWithin(bytes, room, picture, tooLarge)) {
    if (tooLarge)
      ReportOverBudget(resolved);  // it may fit once other images are freed
    else
      undecodableFiles.insert(identity);
    return nullptr;
  }
  auto pixels = std::make_shared<Pixels>();
  pixels->width = picture.width;
  pixels->height = picture.height;
  pixels->rgba = std::move(picture.pixels);
  pixels->opaque = pixels->binaryAlpha = true;
  for (size_t i = 3; i < pixels->rgba.size() && pixels->binaryAlpha; i += 4) {
    pixels->opaque = pixels->opaque && pixels->rgba[i] == 255;
    pixels->binaryAlpha = pixels->rgba[i] == 255 || pixels->rgba[i] == 0;
  }
  pixels->fromFile = true;
  pixels->source = identity;
  decodedBytes += static_cast<int64_t>(pixels->rgba.size());
  decodedFiles[identity] = pixels;
  return pixels;
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

void ReleaseImageTextures() {
  if (video.owedPicture) SettleBackBuffer();
  for (Pixels* pixels : livePixels) {
    EnsurePixels(*pixels);  // a grab's pixels outlive its GPU copy
    for (auto& [key, texture] : pixels->textures)
      if (texture) SDL_DestroyTexture(texture);
    pixels->textures.clear();
    if (pixels->gpuCopy) SDL_DestroyTexture(pixels->gpuCopy);
    pixels->gpuCopy = nullptr;
  }
  for (SDL_Texture* texture : spareGrabTargets) SDL_DestroyTexture(texture);
  spareGrabTargets.clear();
  blendModes.clear();
  std::vector<uint32_t>().swap(grabReadBack);
}

void ReleaseAllImages() {
  account.Reset(true);
  images.Clear();
  quads.Clear();
  ReleaseImageTextures();
  decodedFiles.clear();
  undecodableFiles.clear();
  overBudgetDirectories.clear();
  reportedFiles.clear();
  imageBudget = kImageMemoryBudget;
  defaultKey = kMagenta;
  blending = BlendPair{};
  blendingNeutral = 0;
  bilinear = false;
}

// --- Images ---------------------------------------------------------------------------------

void SetImageMemoryBudget(int64_t bytes) { imageBudget = bytes; }

void SetTransparentColour(int32_t colour) { defaultKey = KeyOf(colour); }

void SetImageKey(int32_t image, int32_t colour) {
  if (Image* found = images.Find(image)) SetKey(*found, KeyOf(colour));
}

int32_t LoadImage(int32_t id, const std::string& path) {
  try {
    std::shared_ptr<Pixels> pixels = DecodedFile(path);
    if (!pixels) return 0;
    Image image;
    image.width = pixels->width;
    image.height = pixels->height;
    image.pixels = std::move(pixels);
    SetKey(image, defaultKey);
    const int32_t result = images.Add(id, std::move(image));
    TextureFor(*images.Find(result), 0);  // made now while a screen is open, else at the first draw
    return result;
  } catch (const std::bad_alloc&) {
    if (reportedFiles.insert(path).second)
      std::fprintf(stderr, "quorvex: there is not enough memory for the image %s\n", NativePath(path).c_str());
    return 0;
  }
}

bool ImageExists(int32_t image) { return images.Find(image) != nullptr; }

void FreeImage(int32_t image) { images.Remove(image); }

int32_t ImageWidth(int32_t image) {
  const Image* found = images.Find(image);
  return found ? found->width : 0;
}

int32_t ImageHeight(int32_t image) {
  const Image* found = images.Find(image);
  return found ? found->height : 0;
}

uint32_t ImagePixel(int32_t image, int32_t x, int32_t y) {
  const Image* found = images.Find(image);
  if (!found || x < 0 || y < 0 || x >= found->width || y >= found->height) return 0;
  EnsurePixels(*found->pixels);
  if (found->pixels->rgba.empty()) return 0;
  const uint8_t* p = &found->pixels->rgba[(static_cast<size_t>(y) * found->width + x) * 4];
  if (IsKeyed(found->key, p)) return 0;
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

void RotateQuad(int32_t quad, float angle) {
  Quad* found = quads.Find(quad);
  if (!found) return;
  found->accumulated += angle;
  found->drawn = found->accumulated;
}

void SetQuadColour(int32_t quad, int32_t colour) {
  if (Quad* found = quads.Find(quad)) found->colour = colour & 0xFFFFFF;
}

int32_t QuadImage(int32_t quad) {
  const Quad* found = quads.Find(quad);
  return found ? found->image : 0;
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

void SetQuadBlending(int32_t source, int32_t destination) {
  blending = NormalBlendPair(source, destination);
  blendingNeutral = NeutralTexel(blending);
}
void SetQuadFiltering(int32_t flag) { bilinear = flag != 0; }

// --- The back buffer: drawing into it and grabbing from it ----------------------------------
//
// The rule for every function that draws into the back buffer: it calls DrawIntoBackBuffer just
// before it draws, and draws in no other way. That one helper does both things a draw owes:
// - it settles what the back buffer owes (a clear put off, or the picture a grab took along with
//   the old texture), or drops the debt when the draw replaces every pixel; drawing over an
//   unpaid debt would lose the picture beneath;
// - it records the draw in the account of the colours the back buffer may hold; a draw left out
//   of the account lets a grab believe the transparent colour is absent and keep it visible.
// A function that only reads the back buffer (a grab, a present, a PNG) calls SettleBackBuffer
// before it reads.

void TargetBackBuffer() {
  if (video.renderer && video.backBuffer) SDL_SetRenderTarget(video.renderer, video.backBuffer);
}

void SettleBackBuffer() {
  TargetBackBuffer();
  if (!video.renderer || !video.backBuffer) return;
  if (video.owedClear) {
    const int32_t c = video.owedColour;
    SDL_SetRenderDrawColor(video.renderer, c & 255, (c >> 8) & 255, (c >> 16) & 255, 255);
    SDL_RenderClear(video.renderer);
  } else if (video.owedPicture) {
    SDL_SetTextureBlendMode(video.owedPicture, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(video.owedPicture, 255, 255, 255);
    SDL_SetTextureAlphaMod(video.owedPicture, 255);
    SDL_SetTextureScaleMode(video.owedPicture, SDL_ScaleModeNearest);
    SDL_RenderCopy(video.renderer, video.owedPicture, nullptr, nullptr);
  }
  ForgetBackBufferDebts();
}

void ForgetBackBufferDebts() {
  video.owedPicture = nullptr;
  video.owedClear = false;
}

void NoteBackBufferUnknown() { account.Reset(true); }

namespace {

bool HaveBackBuffer() { return video.renderer != nullptr && video.backBuffer != nullptr; }

// One draw as the back buffer's debts and account see it.
struct BackBufferDraw {
  enum Kind { kClear, kBox, kQuad };
  Kind kind = kBox;
  int32_t colour = 0;              // kClear, kBox
  bool coversAll = false;          // kQuad: it replaces every pixel of the back buffer
  bool texelForTexel = false;      // kQuad: each texel of pixels held here replaces its pixel or leaves it
  int32_t keyedOut = -1;           // kQuad, texel for texel: the key whose texels it left out
  std::shared_ptr<Pixels> pixels;  // kQuad
  SDL_FRect area{0, 0, 0, 0};      // kQuad: where it lands, upright
  float angle = 0;                 // kQuad: turned about the centre of area
};

// Enters a quad into the account: texel for texel from pixels the account can look at, or its
// rectangle, as turned about its centre and a pixel wider each way, as unknown.
void RecordQuad(const BackBufferDraw& draw) {
  if (draw.coversAll) account.Reset(!draw.texelForTexel);
  if (account.allUnknown) return;
  if (draw.texelForTexel) {
    for (const BackBufferAccount::Copied& c : account.copied)
      if (c.keyedOut == draw.keyedOut && c.pixels.lock() == draw.pixels) return;
    account.copied.push_back({draw.pixels, draw.keyedOut});
    return;
  }
  const SDL_FRect& area = draw.area;
  const double turn = draw.angle * std::numbers::pi / 180.0;
  const double halfW = (std::fabs(area.w * std::cos(turn)) + std::fabs(area.h * std::sin(turn))) / 2.0;
  const double halfH = (std::fabs(area.w * std::sin(turn)) + std::fabs(area.h * std::cos(turn))) / 2.0;
  const double cx = area.x + area.w / 2.0, cy = area.y + area.h / 2.0;
  const double left = std::max(0.0, std::floor(cx - halfW) - 1), top = std::max(0.0, std::floor(cy - halfH) - 1);
  const double right = std::min<double>(video.backWidth, std::ceil(cx + halfW) + 1);
  const double bottom = std::min<double>(video.backHeight, std::ceil(cy + halfH) + 1);
  if (!(right > left && bottom > top)) return;  // wholly outside the back buffer (or not a number)
  account.AddUnknown(SDL_Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                              static_cast<int>(bottom - top)});
}

// See the rule above. A clear is itself put off: it becomes what the back buffer owes.
void DrawIntoBackBuffer(const BackBufferDraw& draw) {
  if (draw.kind == BackBufferDraw::kClear) {
    ForgetBackBufferDebts();
    video.owedClear = true;
    video.owedColour = draw.colour;
    TargetBackBuffer();
  } else if (draw.coversAll) {
    ForgetBackBufferDebts();
    TargetBackBuffer();
  } else {
    SettleBackBuffer();
  }
  const int32_t colour = draw.colour & 0xFFFFFF;
  switch (draw.kind) {
    case BackBufferDraw::kClear:
      account.Reset(false);
      account.colours.push_back(colour);
      break;
    case BackBufferDraw::kBox:
      if (!account.allUnknown && std::find(account.colours.begin(), account.colours.end(), colour) == account.colours.end())
        account.colours.push_back(colour);
      break;
    case BackBufferDraw::kQuad: RecordQuad(draw); break;
  }
}

// Whether some pixel of the back buffer's part `area` may have the key's colour: every pixel the
// account cannot vouch for is read back and looked at. False means none has it.
bool BackBufferMayHoldKey(int32_t key, const SDL_Rect& area) {
  if (account.allUnknown) return true;
  if (std::find(account.colours.begin(), account.colours.end(), key) != account.colours.end()) return true;
  for (const BackBufferAccount::Copied& copied : account.copied) {
    if (copied.keyedOut == key) continue;  // drawn without its texels of the key's colour
    const std::shared_ptr<Pixels> pixels = copied.pixels.lock();
    if (!pixels || HasKeyColour(*pixels, key)) return true;  // freed since: nothing to look at
  }
  for (const SDL_Rect& rect : account.unknown) {
    SDL_Rect part;
    if (!SDL_IntersectRect(&rect, &area, &part)) continue;
    if (!ReadBackBuffer(part) || ReadBackHasKey(static_cast<size_t>(part.w) * part.h, key)) return true;
  }
  return false;
}

}  // namespace

void ClearBackBuffer(int32_t colour) {
  if (!HaveBackBuffer()) return;
  BackBufferDraw draw;
  draw.kind = BackBufferDraw::kClear;
  draw.colour = colour;
  DrawIntoBackBuffer(draw);
}

void BeginDrawing() { TargetBackBuffer(); }
void EndDrawing() { TargetBackBuffer(); }

void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  if (!HaveBackBuffer() || width < 1 || height < 1) return;
  BackBufferDraw draw;
  draw.kind = BackBufferDraw::kBox;
  draw.colour = colour;
  DrawIntoBackBuffer(draw);
  SDL_SetRenderDrawBlendMode(video.renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(video.renderer, colour & 255, (colour >> 8) & 255, (colour >> 16) & 255, 255);
  const SDL_Rect box{x, y, width, height};
  SDL_RenderFillRect(video.renderer, &box);
}

void BeginQuads() { TargetBackBuffer(); }
void EndQuads() { TargetBackBuffer(); }

void DrawQuad(int32_t quad, int32_t x, int32_t y, int32_t alpha) {
  if (!video.renderer) return;
  const Quad* found = quads.Find(quad);
  Image* image = found ? images.Find(found->image) : nullptr;
  if (!image || found->width == 0 || found->height == 0) return;
  SDL_Texture* texture = TextureFor(*image, blendingNeutral);
  if (!texture) return;
  SDL_SetTextureColorMod(texture, found->colour & 255, (found->colour >> 8) & 255, (found->colour >> 16) & 255);
  SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(std::clamp(alpha, 0, 255)));
  // An opaque texel drawn whole under a pair that keeps the source where it is opaque and drops
  // the destination ((one or source alpha, zero or inverse source alpha)) simply replaces the
  // pixel: drawn so without blending, the picture is the same and the rasterizer reads nothing.
  const bool replaces = image->pixels->opaque && !image->hasKeyed && alpha >= 255 &&
                        (blending.source == 2 || blending.source == 5) && (blending.destination == 1 || blending.destination == 6);
  SDL_SetTextureBlendMode(texture, replaces ? SDL_BLENDMODE_NONE : ModeFor(blending, texture));
  SDL_SetTextureScaleMode(texture, bilinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  BackBufferDraw draw;
  draw.kind = BackBufferDraw::kQuad;
  draw.pixels = image->pixels;
  draw.angle = found->drawn;
  // A negative size mirrors the quad about its drawing point.
  int flip = SDL_FLIP_NONE;
  SDL_FRect& area = draw.area;
  area = SDL_FRect{static_cast<float>(x), static_cast<float>(y), static_cast<float>(found->width), static_cast<float>(found->height)};
  if (area.w < 0) area.x += area.w, area.w = -area.w, flip |= SDL_FLIP_HORIZONTAL;
  if (area.h < 0) area.y += area.h, area.h = -area.h, flip |= SDL_FLIP_VERTICAL;
  draw.coversAll = replaces && found->drawn == 0.0f && area.x <= 0 && area.y <= 0 &&
                   area.x + area.w >= static_cast<float>(video.backWidth) && area.y + area.h >= static_cast<float>(video.backHeight);
  const SDL_Rect* source = texture == image->pixels->gpuCopy ? &image->pixels->gpuArea : nullptr;
  // Texels whose alpha is whole or nothing, drawn whole under (source alpha, inverse source
  // alpha), each replace their pixel or leave it too, as do the keyed ones: a sprite adds only
  // its own colours, less its key's, and a grab need not read back where it went.
  const bool wholeOrNothing = image->pixels->binaryAlpha && alpha >= 255 && blending.source == 5 && blending.destination == 6;
  draw.texelForTexel = (replaces || wholeOrNothing) && !bilinear && (found->colour & 0xFFFFFF) == 0xFFFFFF &&
                       source == nullptr && !image->pixels->rgba.empty();
  draw.keyedOut = image->key;
  DrawIntoBackBuffer(draw);
  SDL_RenderCopyExF(video.renderer, texture, source, &area, found->drawn, nullptr, static_cast<SDL_RendererFlip>(flip));
}

namespace {

// The default transparent colour keys a grab as it keys every other image, so the pixels come
// back from the GPU to be looked at; only a grab that holds the key's colour keeps them. False
// when they could not be read.
bool LookForTheKey(Pixels& pixels, Image& image, const SDL_Rect& area) {
  if (defaultKey < 0 || !BackBufferMayHoldKey(defaultKey, area)) return true;
  const size_t count = static_cast<size_t>(area.w) * area.h;
  if (!ReadBackBuffer(area)) return false;
  const bool keyed = ReadBackHasKey(count, defaultKey);
  pixels.keyed.emplace(defaultKey, keyed);
  image.hasKeyed = keyed;
  if (keyed) {
    pixels.rgba.resize(count * 4);
    for (size_t i = 0; i < count; i++) {
      const uint32_t v = grabReadBack[i];
      uint8_t* p = &pixels.rgba[i * 4];
      p[0] = static_cast<uint8_t>(v >> 16);
      p[1] = static_cast<uint8_t>(v >> 8);
      p[2] = static_cast<uint8_t>(v);
      p[3] = static_cast<uint8_t>(v >> 24);
    }
  }
  return true;
}

// A grab with nothing to leave out is drawn from a texture as it is. The back buffer's own
// texture becomes the grab's, and a spare one of its size the back buffer, owing the grab's
// picture: the copy is made only if something draws into the back buffer before a draw covers
// it whole (the zoom pass clears it and covers it at once, so it never copies). False when no
// copy could be made.
bool CopyOnTheGpu(Pixels& pixels, const SDL_Rect& area) {
  SDL_Texture* fresh = TakeSpareTarget(video.backWidth, video.backHeight);
  if (fresh) {
    pixels.gpuCopy = video.backBuffer;
    pixels.gpuArea = area;
    video.backBuffer = fresh;
    video.owedPicture = pixels.gpuCopy;
    TargetBackBuffer();
  } else if (SDL_Texture* target = TakeSpareTarget(area.w, area.h)) {
    SDL_SetRenderTarget(video.renderer, target);
    SDL_SetTextureBlendMode(video.backBuffer, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(video.backBuffer, 255, 255, 255);
    SDL_SetTextureAlphaMod(video.backBuffer, 255);
    SDL_SetTextureScaleMode(video.backBuffer, SDL_ScaleModeNearest);
    SDL_RenderCopy(video.renderer, video.backBuffer, &area, nullptr);
    TargetBackBuffer();
    pixels.gpuCopy = target;
    pixels.gpuArea = SDL_Rect{0, 0, area.w, area.h};
  } else {
    // No GPU copy: the texture is made from the pixels, as for an image from a file.
    pixels.rgba.resize(static_cast<size_t>(area.w) * area.h * 4);
    TargetBackBuffer();
    if (SDL_RenderReadPixels(video.renderer, &area, SDL_PIXELFORMAT_RGBA32, pixels.rgba.data(), area.w * 4) != 0)
      return false;
  }
  return true;
}

}  // namespace

int32_t GrabBackBuffer(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!HaveBackBuffer() || width < 1 || height < 1) return 0;
  // Clipped in 64 bits: a huge rectangle must not wrap around.
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + width, video.backWidth);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + height, video.backHeight);
  if (right <= left || bottom <= top) return 0;
  const SDL_Rect area{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top)};

  SettleBackBuffer();
  auto pixels = std::make_shared<Pixels>();
  pixels->width = area.w;
  pixels->height = area.h;
  pixels->opaque = pixels->binaryAlpha = true;
  Image image;
  image.width = area.w;
  image.height = area.h;
  image.pixels = pixels;
  image.key = defaultKey;
  if (!LookForTheKey(*pixels, image, area)) return 0;
  if (!image.hasKeyed && !CopyOnTheGpu(*pixels, area)) return 0;
  return images.Add(id, std::move(image));
}
