// Drawing end to end: a real window under X, quads drawn into the back buffer, and the pixels
// checked in the PNG that SaveBackBufferPng writes (read back here with libpng); then the back
// buffer scaled into windows of other sizes, and the window's own messages.
#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "media/clock.h"
#include "media/input.h"
#include "support/sample_files.h"
#include "media/probes.h"
#include "media/screen.h"
#include "media/sound.h"
#include "support/temp_dir.h"

namespace {

constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 240;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) { return out << "(" << c.r << "," << c.g << "," << c.b << ")"; }

int32_t Colour(Rgb c) { return c.r + c.g * 256 + c.b * 65536; }

struct Shot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  Rgb At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

void ExpectNear(Rgb got, Rgb want, int tolerance, const std::string& where) {
  EXPECT_NEAR(got.r, want.r, tolerance) << where << " got " << got << " want " << want;
  EXPECT_NEAR(got.g, want.g, tolerance) << where << " got " << got << " want " << want;
  EXPECT_NEAR(got.b, want.b, tolerance) << where << " got " << got << " want " << want;
}

class Screen : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no DISPLAY: the drawing tests need an X server (xvfb-run)";
    SetWindowedSize(kWindowWidth, kWindowHeight);
    ASSERT_TRUE(StartVideo());
    ASSERT_EQ(DesktopWidth(), kWindowWidth);
    ASSERT_EQ(DesktopHeight(), kWindowHeight);
    ASSERT_NE(CreateMainWindow(kWindowWidth, kWindowHeight, "quorvex test"), 0);
    ASSERT_NE(OpenScreenInWindow(1, kWindowWidth, kWindowHeight), 0);
    ASSERT_TRUE(ScreenOpen());
    SetTransparentColour(kMagenta);
    SetQuadBlending(5, 6);
    SetQuadFiltering(0);
  }
  Shot Take() {
    const std::string path = dir / "shot.png";
    Shot shot;
    if (!SaveBackBufferPng(path)) {
      ADD_FAILURE() << "SaveBackBufferPng failed";
      return shot;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
      ADD_FAILURE() << "unreadable PNG";
      return shot;
    }
    image.format = PNG_FORMAT_RGB;
    shot.width = static_cast<int>(image.width);
    shot.height = static_cast<int>(image.height);
    shot.rgb.resize(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, shot.rgb.data(), 0, nullptr));
    return shot;
  }

  // Loads a TGA of the given RGBA pixels (top row first).
  int32_t Image(int width, int height, const std::vector<Rgb>& colours, const std::vector<int>& alphas = {}) {
    Bytes data;
    for (size_t i = 0; i < colours.size(); i++) {
      const int a = alphas.empty() ? 255 : alphas[i];
      data.insert(data.end(), {static_cast<uint8_t>(colours[i].b), static_cast<uint8_t>(colours[i].g),
                               static_cast<uint8_t>(colours[i].r), static_cast<uint8_t>(a)});
    }
    const TgaHeader header{2, 32, 0x28, static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
    return LoadImage(-1, dir.Write("image" + std::to_string(images++) + ".tga", AsString(MakeTga(header, {}, data))));
  }

  // Grabs the whole back buffer with magenta as the default key, and draws the grab back over a
  // back buffer cleared to (9, 9, 9): pixels left out show that grey.
  Shot RedrawnGrab() {
    SetTransparentColour(kMagenta);
    const int32_t grab = GrabBackBuffer(-1, 0, 0, kWindowWidth, kWindowHeight);
    SetTransparentColour(-1);
    const int32_t quad = MakeQuad(-1, grab);
    ClearBackBuffer(Colour({9, 9, 9}));
    BeginQuads();
    DrawQuad(quad, 0, 0, 255);
    EndQuads();
    FreeQuad(quad);
    FreeImage(grab);
    return Take();
  }

  TempDir dir;
  int images = 0;
};

const Rgb kKey{255, 0, 255};

TEST_F(Screen, ClearFillsEverythingAndABoxOfOneSetsOnePixel) {
  ClearBackBuffer(Colour({10, 20, 30}));
  BeginDrawing();
  FillBox(5, 7, 1, 1, Colour({255, 0, 0}));
  FillBox(40, 50, 30, 20, Colour({0, 200, 0}));
  EndDrawing();
  const Shot shot = Take();
  ASSERT_EQ(shot.width, kWindowWidth);
  ASSERT_EQ(shot.height, kWindowHeight);
  int red = 0, green = 0, other = 0;
  for (int y = 0; y < kWindowHeight; y++)
    for (int x = 0; x < kWindowWidth; x++) {
      const Rgb c = shot.At(x, y);
      if (c == Rgb{255, 0, 0}) {
        red++;
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 7);
      } else if (c == Rgb{0, 200, 0}) {
        green++;
        EXPECT_TRUE(x >= 40 && x < 70 && y >= 50 && y < 70) << x << "," << y;
      } else if (!(c == Rgb{10, 20, 30})) {
        other++;
      }
    }
  EXPECT_EQ(red, 1);
  EXPECT_EQ(green, 30 * 20);
  EXPECT_EQ(other, 0);
}

TEST_F(Screen, EveryBlendPairTheGameUsesMatchesItsFormulaAndKeyedTexelsLeaveTheDestinationAlone) {
  struct Case {
    int32_t source, destination;
    int texelAlpha;     // of the coloured texel
    int32_t opacity;    // DrawQuad's alpha
    Rgb quadColour;
    Rgb expected;       // the coloured half over the background
  };
  // Texel (200, 100, 50) over the background (100, 150, 200); 128 / 255 = 0.502.
  const Case cases[] = {
      {5, 6, 128, 255, {255, 255, 255}, {150, 125, 125}},  // ordinary alpha blend
      {5, 6, 255, 128, {255, 255, 255}, {150, 125, 125}},  // opacity 128 does the same
      {5, 6, 255, 255, {128, 255, 0}, {100, 100, 0}},      // vertex colour multiplies the texel
      {5, 6, 255, 300, {255, 255, 255}, {200, 100, 50}},   // opacity is clamped to 255
      {2, 5, 128, 255, {255, 255, 255}, {250, 175, 150}},  // floating images: src + dst * src alpha
      {5, 2, 128, 255, {255, 255, 255}, {200, 200, 225}},  // additive
      {2, 2, 255, 255, {255, 255, 255}, {255, 250, 250}},  // plain add, saturating
      {1, 3, 255, 255, {255, 255, 255}, {78, 59, 39}},     // dst * src colour
      {9, 1, 255, 255, {255, 255, 255}, {78, 59, 39}},     // src * dst colour
      {0, -3, 128, 255, {255, 255, 255}, {150, 125, 125}}, // out of range: the default pair
  };
  const Rgb background{100, 150, 200};
  for (const Case& c : cases) {
    SCOPED_TRACE("pair " + std::to_string(c.source) + "," + std::to_string(c.destination) + " opacity " +
                 std::to_string(c.opacity));
    // Left texel keyed, right texel coloured; stretched so each texel covers 20 x 20 pixels.
    const int32_t image = Image(2, 1, {kKey, {200, 100, 50}}, {255, c.texelAlpha});
    const int32_t quad = MakeQuad(-1, image);
    ResizeQuad(quad, 40, 20);
    SetQuadColour(quad, Colour(c.quadColour));
    ClearBackBuffer(Colour(background));
    BeginQuads();
    SetQuadBlending(c.source, c.destination);
    DrawQuad(quad, 100, 100, c.opacity);
    EndQuads();
    const Shot shot = Take();
    EXPECT_EQ(shot.At(110, 110), background) << "keyed texel";
    ExpectNear(shot.At(130, 110), c.expected, 2, "coloured texel");
    EXPECT_EQ(shot.At(99, 110), background) << "left of the quad";
    EXPECT_EQ(shot.At(140, 110), background) << "right of the quad";
    FreeQuad(quad);
    FreeImage(image);
  }
}

TEST_F(Screen, ARotationOf90DegreesTurnsTheQuadClockwiseAboutItsCentre) {
  const int32_t quad = MakeQuad(-1, Image(2, 1, {{255, 0, 0}, {0, 0, 255}}));
  ResizeQuad(quad, 40, 20);  // centre at (120, 110) when drawn at (100, 100)
  RotateQuad(quad, 45);
  RotateQuad(quad, 45);
  ClearBackBuffer(kBlack);
  BeginQuads();
  DrawQuad(quad, 100, 100, 255);
  EndQuads();
  const Shot shot = Take();
  EXPECT_EQ(shot.At(120, 95), (Rgb{255, 0, 0})) << "the left half is now on top";
  EXPECT_EQ(shot.At(120, 125), (Rgb{0, 0, 255})) << "the right half is now below";
  EXPECT_EQ(shot.At(105, 110), (Rgb{0, 0, 0})) << "the old left end is empty";
  EXPECT_EQ(shot.At(135, 110), (Rgb{0, 0, 0})) << "the old right end is empty";

  ResizeQuad(quad, 40, 20);  // upright again
  ClearBackBuffer(kBlack);
  DrawQuad(quad, 100, 100, 255);
  const Shot upright = Take();
  EXPECT_EQ(upright.At(105, 110), (Rgb{255, 0, 0}));
  EXPECT_EQ(upright.At(135, 110), (Rgb{0, 0, 255}));
}

TEST_F(Screen, NearestFilteringKeepsTexelsSharpAndBilinearBlendsThem) {
  const int32_t quad = MakeQuad(-1, Image(2, 1, {{0, 0, 0}, {255, 255, 255}}));
  ResizeQuad(quad, 200, 10);  // each texel covers 100 pixels
  for (int flag : {0, 1}) {
    SCOPED_TRACE(flag ? "bilinear" : "nearest");
    SetQuadFiltering(flag);
    ClearBackBuffer(Colour({255, 0, 0}));
    DrawQuad(quad, 0, 0, 255);
    const Shot shot = Take();
    EXPECT_EQ(shot.At(10, 5), (Rgb{0, 0, 0}));
    EXPECT_EQ(shot.At(190, 5), (Rgb{255, 255, 255}));
    if (flag == 0) {
      EXPECT_EQ(shot.At(99, 5), (Rgb{0, 0, 0}));
      EXPECT_EQ(shot.At(100, 5), (Rgb{255, 255, 255}));
    } else {
      ExpectNear(shot.At(100, 5), {128, 128, 128}, 8, "the middle");
      ExpectNear(shot.At(75, 5), {64, 64, 64}, 8, "a quarter");
      ExpectNear(shot.At(125, 5), {191, 191, 191}, 8, "three quarters");
    }
  }
}

TEST_F(Screen, AGrabCopiesTheClippedRectangleAndDrawsBackStretched) {
  ClearBackBuffer(kBlack);
  FillBox(10, 10, 10, 10, Colour({255, 0, 0}));
  FillBox(20, 10, 10, 10, Colour({0, 255, 0}));
  FillBox(10, 20, 10, 10, Colour({0, 0, 255}));
  FillBox(20, 20, 10, 10, Colour({255, 255, 0}));
  const int32_t grab = GrabBackBuffer(-1, 10, 10, 20, 20);
  ASSERT_GT(grab, 0);
  EXPECT_EQ(ImageWidth(grab), 20);
  EXPECT_EQ(ImageHeight(grab), 20);
  EXPECT_EQ(ImagePixel(grab, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(ImagePixel(grab, 19, 19), 0xFF00FFFFu);

  const int32_t quad = MakeQuad(-1, grab);
  ResizeQuad(quad, 80, 80);
  ClearBackBuffer(Colour({9, 9, 9}));
  BeginQuads();
  DrawQuad(quad, 200, 100, 255);
  EndQuads();
  const Shot shot = Take();
  EXPECT_EQ(shot.At(201, 101), (Rgb{255, 0, 0}));
  EXPECT_EQ(shot.At(278, 101), (Rgb{0, 255, 0}));
  EXPECT_EQ(shot.At(201, 178), (Rgb{0, 0, 255}));
  EXPECT_EQ(shot.At(278, 178), (Rgb{255, 255, 0}));
  EXPECT_EQ(shot.At(199, 101), (Rgb{9, 9, 9}));
  EXPECT_EQ(shot.At(15, 15), (Rgb{9, 9, 9})) << "the grab is a copy, the clear removed the original";

  const int32_t corner = GrabBackBuffer(-1, kWindowWidth - 10, kWindowHeight - 4, 50, 50);
  EXPECT_EQ(ImageWidth(corner), 10);
  EXPECT_EQ(ImageHeight(corner), 4);
  const int32_t negative = GrabBackBuffer(-1, -5, -5, 10, 10);
  EXPECT_EQ(ImageWidth(negative), 5);
  const int32_t huge = GrabBackBuffer(-1, 10, 20, INT32_MAX, INT32_MAX);  // clipped without wrapping round
  EXPECT_EQ(ImageWidth(huge), kWindowWidth - 10);
  EXPECT_EQ(ImageHeight(huge), kWindowHeight - 20);
  EXPECT_EQ(GrabBackBuffer(-1, kWindowWidth, 0, 10, 10), 0);
  EXPECT_EQ(GrabBackBuffer(-1, 0, 0, 0, 10), 0);
  EXPECT_EQ(GrabBackBuffer(-1, -20, -20, 10, 10), 0);
}

// A grab is an image like any other: the default transparent colour in force when it is made
// becomes its key, so its pixels of that colour are left out when it is drawn.
TEST_F(Screen, AGrabTakesTheDefaultTransparentColourInForce) {
  struct Case {
    int32_t defaultKey;
    bool magentaLeftOut;
  };
  const Case cases[] = {{kMagenta, true}, {kWhite, false}, {-1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE("default key " + std::to_string(c.defaultKey));
    ClearBackBuffer(kBlack);
    FillBox(10, 10, 10, 10, Colour(kKey));
    FillBox(20, 10, 10, 10, Colour({255, 0, 0}));
    SetTransparentColour(c.defaultKey);
    const int32_t grab = GrabBackBuffer(-1, 10, 10, 20, 10);
    SetTransparentColour(kMagenta);
    ASSERT_GT(grab, 0);
    EXPECT_EQ(ImagePixel(grab, 2, 2), c.magentaLeftOut ? 0u : 0xFFFF00FFu);
    EXPECT_EQ(ImagePixel(grab, 15, 5), 0xFF0000FFu);
    const int32_t quad = MakeQuad(-1, grab);
    ResizeQuad(quad, 40, 20);
    ClearBackBuffer(Colour({9, 9, 9}));
    BeginQuads();
    DrawQuad(quad, 200, 100, 255);
    EndQuads();
    const Shot shot = Take();
    EXPECT_EQ(shot.At(205, 105), c.magentaLeftOut ? (Rgb{9, 9, 9}) : kKey);
    EXPECT_EQ(shot.At(230, 105), (Rgb{255, 0, 0}));
    SetImageKey(grab, kMagenta);  // re-keyed afterwards, as any image can be
    EXPECT_EQ(ImagePixel(grab, 2, 2), 0u);
    FreeQuad(quad);
    FreeImage(grab);
  }
}

// A grab reads back only the pixels whose colour the media layer cannot vouch for; however the
// key's colour came into the back buffer, the grab still finds it and leaves it out.
TEST_F(Screen, AGrabFindsTheKeyColourHoweverItCameThere) {
  struct Case {
    const char* how;
    std::function<void()> draw;  // puts magenta at (50, 50) of a back buffer cleared to blue
  };
  int32_t unkeyed = 0, white = 0, whiteKeyed = 0;
  auto quad = [&](int32_t image, int w, int h) {
    const int32_t q = MakeQuad(-1, image);
    ResizeQuad(q, w, h);
    return q;
  };
  const Case cases[] = {
      {"a box", [&] { FillBox(50, 50, 1, 1, Colour(kKey)); }},
      {"an unblended image holding it", [&] { DrawQuad(quad(unkeyed, 4, 4), 48, 48, 255); }},
      {"the same image turned", [&] {
         const int32_t q = quad(unkeyed, 4, 4);
         RotateQuad(q, 90.0f);
         DrawQuad(q, 48, 48, 255);
       }},
      {"red added over blue", [&] {
         SetQuadBlending(2, 2);
         const int32_t q = quad(white, 4, 4);
         SetQuadColour(q, Colour({255, 0, 0}));
         DrawQuad(q, 48, 48, 255);
         SetQuadBlending(5, 6);
       }},
      {"a white image tinted", [&] {
         const int32_t q = quad(white, 4, 4);
         SetQuadColour(q, Colour(kKey));
         DrawQuad(q, 48, 48, 255);
       }},
      {"a sprite holding it beside its own key's colour", [&] { DrawQuad(quad(whiteKeyed, 4, 4), 48, 48, 255); }},
      {"an unblended image holding it, freed before the grab", [&] {
         const int32_t image = Image(1, 1, {kKey});
         const int32_t q = quad(image, 4, 4);
         DrawQuad(q, 48, 48, 255);
         FreeQuad(q);
         FreeImage(image);
       }},
      {"an image stretched over everything", [&] {
         SetQuadFiltering(1);
         DrawQuad(quad(unkeyed, kWindowWidth, kWindowHeight), 0, 0, 255);
         SetQuadFiltering(0);
       }},
  };
  SetTransparentColour(kWhite);
  unkeyed = Image(1, 1, {kKey});
  whiteKeyed = Image(2, 1, {{255, 255, 255}, kKey});  // the left half is left out
  white = Image(1, 1, {{255, 255, 255}});
  SetTransparentColour(-1);
  white = Image(1, 1, {{255, 255, 255}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    ClearBackBuffer(Colour({0, 0, 255}));
    BeginQuads();
    c.draw();
    EndQuads();
    ASSERT_EQ(Take().At(50, 50), kKey) << "the case must put the key's colour there";
    EXPECT_EQ(RedrawnGrab().At(50, 50), (Rgb{9, 9, 9})) << "left out";
  }
  // Without the key's colour anywhere, nothing is left out.
  ClearBackBuffer(Colour({0, 0, 255}));
  DrawQuad(quad(white, 4, 4), 48, 48, 255);
  const Shot shot = RedrawnGrab();
  EXPECT_EQ(shot.At(50, 50), (Rgb{255, 255, 255}));
  EXPECT_EQ(shot.At(0, 0), (Rgb{0, 0, 255}));
}

TEST_F(Screen, ReKeyingAndFreeingChangeWhatIsDrawn) {
  const int32_t image = Image(1, 1, {{255, 255, 255}});
  const int32_t quad = MakeQuad(-1, image);
  ResizeQuad(quad, 10, 10);
  ClearBackBuffer(kBlack);
  DrawQuad(quad, 0, 0, 255);
  EXPECT_EQ(Take().At(5, 5), (Rgb{255, 255, 255}));
  SetImageKey(image, kWhite);
  ClearBackBuffer(kBlack);
  DrawQuad(quad, 0, 0, 255);
  EXPECT_EQ(Take().At(5, 5), (Rgb{0, 0, 0})) << "white is keyed now";
  SetImageKey(image, -1);
  FreeImage(image);
  ClearBackBuffer(kBlack);
  DrawQuad(quad, 0, 0, 255);
  EXPECT_EQ(Take().At(5, 5), (Rgb{0, 0, 0})) << "a quad whose image is gone draws nothing";
}

int32_t hookFrames[4];
int hookCalls = 0;

TEST_F(Screen, PresentCountsFramesFromOneAndCallsTheHookAfterEach) {
  SetFastMode(true);
  hookCalls = 0;
  SetPresentHook([](int32_t frame) {
    if (hookCalls < 4) hookFrames[hookCalls] = frame;
    hookCalls++;
  });
  const uint32_t start = MillisecondsSinceStart();
  EXPECT_EQ(PresentedFrames(), 0);
  for (int i = 0; i < 3; i++) PresentFrame();
  EXPECT_EQ(PresentedFrames(), 3);
  ASSERT_EQ(hookCalls, 3);
  EXPECT_EQ(hookFrames[0], 1);
  EXPECT_EQ(hookFrames[2], 3);
  EXPECT_EQ(MillisecondsSinceStart() - start, 48u) << "fast mode: 16 virtual ms a frame";
}

// The screen scaled into windows of other sizes and shapes: the picture as the window shows it.
std::string windowShotPath;
void SaveWindowShot(int32_t) { ASSERT_TRUE(SaveWindowPng(windowShotPath)); }

Shot ReadShot(const std::string& path) {
  Shot shot;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return shot;
  image.format = PNG_FORMAT_RGB;
  shot.width = static_cast<int>(image.width);
  shot.height = static_cast<int>(image.height);
  shot.rgb.resize(PNG_IMAGE_SIZE(image));
  png_image_finish_read(&image, nullptr, shot.rgb.data(), 0, nullptr);
  return shot;
}

class ScaledScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no DISPLAY: the drawing tests need an X server (xvfb-run)";
    SetFastMode(true);
  }
  TempDir dir;
};

TEST_F(ScaledScreen, TheScreenFillsTheWindowInItsOwnShapeWithCrispPixels) {
  struct Case {
    int windowW, windowH;
    int area[4];  // where the 320 x 240 screen lands
  };
  const Case cases[] = {
      {320, 240, {0, 0, 320, 240}},  // as it is
      {640, 480, {0, 0, 640, 480}},  // twice: every pixel a 2 x 2 block
      {800, 480, {80, 0, 640, 480}}, // wider: black bars left and right
      {640, 600, {0, 60, 640, 480}}, // taller: black bars above and below
      {480, 360, {0, 0, 480, 360}},  // one and a half: enlarged twice, then smoothed down
      {1000, 600, {100, 0, 800, 600}},  // two and a half, with bars: enlarged three times
      {341, 256, {0, 0, 341, 256}},  // a little larger: enlarged twice, then smoothed down
      {160, 120, {0, 0, 160, 120}},  // smaller: smoothed
  };
  windowShotPath = dir / "window.png";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.windowW) + "x" + std::to_string(c.windowH));
    SetWindowedSize(c.windowW, c.windowH);
    ASSERT_NE(CreateMainWindow(320, 240, "quorvex test"), 0);
    ASSERT_NE(OpenScreenInWindow(1, 320, 240), 0);
    // Dark grey left, white from column 161 on (an edge that whole factors only put on a pixel's
    // border), one red pixel at (10, 10).
    ClearBackBuffer(Colour({40, 40, 40}));
    FillBox(161, 0, 159, 240, Colour({255, 255, 255}));
    FillBox(10, 10, 1, 1, Colour({255, 0, 0}));
    SetBeforePresentHook(SaveWindowShot);
    PresentFrame();
    SetBeforePresentHook(nullptr);
    int32_t area[4];
    PresentArea(area);
    for (int i = 0; i < 4; i++) EXPECT_EQ(area[i], c.area[i]) << "area value " << i;
    const Shot shot = ReadShot(windowShotPath);
    ASSERT_EQ(shot.width, c.windowW);
    ASSERT_EQ(shot.height, c.windowH);
    const int x0 = c.area[0], y0 = c.area[1], w = c.area[2], h = c.area[3];
    // Bars are black; the picture's corners have their colours.
    if (x0 > 0) {
      EXPECT_EQ(shot.At(x0 - 1, y0 + h / 2), (Rgb{0, 0, 0}));
      EXPECT_EQ(shot.At(x0 + w, y0 + h / 2), (Rgb{0, 0, 0}));
    }
    if (y0 > 0) {
      EXPECT_EQ(shot.At(x0 + w / 2, y0 - 1), (Rgb{0, 0, 0}));
      EXPECT_EQ(shot.At(x0 + w / 2, y0 + h), (Rgb{0, 0, 0}));
    }
    EXPECT_EQ(shot.At(x0 + 1, y0 + h - 2), (Rgb{40, 40, 40}));
    EXPECT_EQ(shot.At(x0 + w - 2, y0 + 1), (Rgb{255, 255, 255}));
    // The edge between the halves: sharp at whole factors, at most one blended column when
    // enlarged by one and a half; smoothed when the window is smaller.
    int blended = 0;
    for (int x = x0; x < x0 + w; x++) {
      const Rgb p = shot.At(x, y0 + h - 2);
      blended += !(p == Rgb{40, 40, 40}) && !(p == Rgb{255, 255, 255});
    }
    const bool whole = w % 320 == 0;
    EXPECT_EQ(blended > 0, !whole) << blended << " blended columns";
    EXPECT_LE(blended, 2);
    if (!whole && w > 320) {
      // Every pixel as enlarging the screen by the next whole factor (nearest) and smoothing that
      // down to the window (bilinear) makes it, give or take the rounding of the weights.
      const int k = (w + 319) / 320;
      auto source = [](int x, int y) {
        if (x == 10 && y == 10) return Rgb{255, 0, 0};
        return x >= 161 ? Rgb{255, 255, 255} : Rgb{40, 40, 40};
      };
      // The two enlarged pixels a window pixel falls between along one axis, and its weight.
      auto along = [k](int at, int size, int screen, int& low, int& high, double& weight) {
        const double e = (at + 0.5) * screen * k / size - 0.5;
        const int j = static_cast<int>(std::floor(e));
        weight = e - j;
        low = std::clamp(j, 0, screen * k - 1) / k;
        high = std::clamp(j + 1, 0, screen * k - 1) / k;
      };
      int wrong = 0;
      for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
          int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
          double fx = 0, fy = 0;
          along(x, w, 320, x1, x2, fx);
          along(y, h, 240, y1, y2, fy);
          auto mix = [&](int Rgb::*channel) {
            const double top = (1 - fx) * (source(x1, y1).*channel) + fx * (source(x2, y1).*channel);
            const double bottom = (1 - fx) * (source(x1, y2).*channel) + fx * (source(x2, y2).*channel);
            return static_cast<int>(std::lround((1 - fy) * top + fy * bottom));
          };
          const Rgb got = shot.At(x0 + x, y0 + y);
          const bool near = std::abs(got.r - mix(&Rgb::r)) <= 2 && std::abs(got.g - mix(&Rgb::g)) <= 2 &&
                            std::abs(got.b - mix(&Rgb::b)) <= 2;
          if (!near && wrong++ < 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ") of the picture is " << got;
        }
      EXPECT_EQ(wrong, 0) << "pixels not as the enlarged and smoothed screen";
    }
    if (whole) {
      const int k = w / 320;
      for (int y = 0; y < k; y++)
        for (int x = 0; x < k; x++) EXPECT_EQ(shot.At(x0 + 10 * k + x, y0 + 10 * k + y), (Rgb{255, 0, 0}));
      EXPECT_EQ(shot.At(x0 + 11 * k, y0 + 10 * k), (Rgb{40, 40, 40}));
      EXPECT_EQ(shot.At(x0 + 10 * k, y0 + 11 * k), (Rgb{40, 40, 40}));
    }
  }
}

TEST_F(ScaledScreen, TheCloseButtonAsksToEndAndAltEnterOrF11SwitchTheFullScreen) {
  SetWindowedSize(320, 240);
  ASSERT_NE(CreateMainWindow(320, 240, "quorvex test"), 0);
  ASSERT_NE(OpenScreenInWindow(1, 320, 240), 0);
  ASSERT_TRUE(StartMouse());
  auto key = [](SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
    DrainWindowMessages();
  };
  // In a window the pointer stays the desktop's: shown and free.
  PollMouse();
  EXPECT_FALSE(IsFullscreen());
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  key(SDLK_F11, KMOD_NONE);
  EXPECT_TRUE(IsFullscreen()) << "F11";
  PollMouse();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "hidden on the full screen";
  key(SDLK_RETURN, KMOD_LALT);
  EXPECT_FALSE(IsFullscreen()) << "Alt+Enter";
  PollMouse();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  key(SDLK_RETURN, KMOD_NONE);
  EXPECT_FALSE(IsFullscreen()) << "Enter alone does nothing";

  EXPECT_FALSE(WindowCloseRequested());
  DrainWindowMessages();
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&close);
  WaitWindowMessage();
  EXPECT_TRUE(WindowCloseRequested());
  ASSERT_NE(CreateMainWindow(320, 240, "quorvex test"), 0);
  EXPECT_FALSE(WindowCloseRequested()) << "a new window starts afresh";
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  DrainWindowMessages();
  EXPECT_TRUE(WindowCloseRequested());
  EndMouse();
}

// The desktop's focus and minimise events, as SDL gives them, reach the game's input.
TEST_F(ScaledScreen, TheDesktopsFocusAndMinimiseEventsReachTheGame) {
  SetWindowedSize(320, 240);
  ASSERT_NE(CreateMainWindow(320, 240, "quorvex test"), 0);
  DrainWindowMessages();
  TakeWindowLeft();
  const struct {
    Uint8 event;
    bool left, musicHeld;
  } cases[] = {
      {SDL_WINDOWEVENT_FOCUS_LOST, true, false}, {SDL_WINDOWEVENT_FOCUS_GAINED, false, false},
      {SDL_WINDOWEVENT_MINIMIZED, true, true},   {SDL_WINDOWEVENT_RESTORED, false, false},
      {SDL_WINDOWEVENT_MOVED, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.event));
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = c.event;
    SDL_PushEvent(&e);
    DrainWindowMessages();
    EXPECT_EQ(TakeWindowLeft(), c.left);
    EXPECT_EQ(MusicHeld(), c.musicHeld);
  }
}

}  // namespace
