// The window, the back buffer, images and quads (textured rectangles), and plain 2D boxes.
//
// Images are decoded into memory when loaded and become textures once a screen is open, so
// that the game logic (and its tests) can load images and make quads without a display; drawing
// without a screen does nothing. Handles are positive numbers: pass -1 to ask for a new one (a
// positive number replaces that object), 0 means none or failed, and operations on a number that
// names nothing do nothing and return 0. Colours are r + g * 256 + b * 65536.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kMagenta = 255 + 0 * 256 + 255 * 65536;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;

// --- Display and window ---------------------------------------------------------------------

// Starts the video system (no window yet). Returns false where there is no display; then
// NoDisplayReason says why in one line.
bool StartVideo();
std::string NoDisplayReason();
// The number of desktops; call before DesktopWidth/DesktopHeight. 0 without a display.
int32_t CountDesktops();
// The primary desktop's size; under SetWindowedSize the pretended size, and for a player's window
// (SetWindowStyle) the size that window opens at.
int32_t DesktopWidth(int32_t desktop);
int32_t DesktopHeight(int32_t desktop);

// Test harness: pretend the primary desktop is w x h and open an ordinary window of that size.
void SetWindowedSize(int32_t width, int32_t height);

// How the player sees the game: the whole display (the default) or a window that can be resized.
// Either way the screen is scaled into it; Alt+Enter and F11 switch between the two at run time.
constexpr int32_t kStyleFullscreen = 0;
constexpr int32_t kStyleWindow = 1;
void SetWindowStyle(int32_t style);

// Opens the main window for a screen of width x height: the whole display, or a window of the
// largest whole multiple of the screen that fits the desktop comfortably (a player's window), or
// the harness's window of its fixed size. Result: window number, 0 on failure.
int32_t CreateMainWindow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& title);
// Creates the back buffer of width x height shown in the window and arms the frame pacing. With
// stretch 1 the back buffer is scaled into the window keeping its shape (black bars where the
// shapes differ): pixel for pixel at whole factors, else enlarged to the next whole factor and
// then smoothed down, so that pixels stay crisp. Result non-zero on success.
int32_t OpenScreenInWindow(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                           int32_t stretch, int32_t rightMargin, int32_t bottomMargin);
bool ScreenOpen();
// Where the back buffer lands in the window (x, y, width, height) at the last present.
void PresentArea(int32_t area[4]);

// The most frames a second that presenting lets through.
constexpr int32_t kMostFramesPerSecond = 61;

// Waits until more than 1/61 s has passed since the previous present (fast mode: no wait, the
// virtual clock advances a frame), empties the window's message queue, then shows the back
// buffer. Counts presented frames (also without a screen) and runs the present hooks.
void PresentFrame();
// Frames presented so far (the first present is frame 1).
int32_t PresentedFrames();
// Called right after every present with the frame's number (the test harness uses it).
void SetPresentHook(void (*hook)(int32_t frame));
// Called with the coming frame's number once the picture is in the window and before it is
// shown; SaveWindowPng works there.
void SetBeforePresentHook(void (*hook)(int32_t frame));

// Writes the back buffer as a PNG file. Returns false on failure.
bool SaveBackBufferPng(const std::string& path);
// Writes what the window shows as a PNG file (only from the before-present hook).
bool SaveWindowPng(const std::string& path);

// Handles at most one pending window message, waiting up to the given time when none is
// queued. The game itself sees no window message: the close button asks the program to end
// (WindowCloseRequested), Alt+Enter and F11 switch between window and full screen.
void WaitWindowMessage(int32_t milliseconds);
// Handles every pending window message.
void DrainWindowMessages();
// True once the window's close button (or the desktop) asked the program to end.
bool WindowCloseRequested();
// Switches between the whole display and a window.
void ToggleFullscreen();
bool IsFullscreen();

// A modal box with one OK button. Returns false where it could not be shown.
bool ShowMessageBox(const std::string& title, const std::string& text, int32_t flags);

// Closes the screen, the window and every image and quad, and puts the image and quad
// settings back to their start values (transparent colour magenta, blending (5, 6), nearest).
void EndVideo();

// --- Images ---------------------------------------------------------------------------------

// image -1: the default transparent colour for images created later (magenta until set);
// else that image's key. A negative colour means no transparent colour.
void SetTransparentColour(int32_t image, int32_t colour);
// Decodes a PNG, JPEG, TGA or TIFF file (chosen by its signature; anything else is tried as
// TGA). Pixels of the transparent colour become invisible. The path goes through ResolvePath.
// A file is decoded once: every image loaded from it has a number of its own but shares its
// pixels (and textures) with the others.
int32_t LoadImage(int32_t id, const std::string& path, int32_t mode);
// A new image holding that rectangle of the back buffer as drawn so far this frame
// (clipped to the back buffer; 0 when nothing of it lies inside, or without a screen). Like
// every image it takes the default transparent colour in force as its key.
int32_t GrabBackBuffer(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, int32_t mode);
bool ImageExists(int32_t image);
// Decoded pixels of all image files together stay within a budget (512 MB): a file that would go
// beyond it is not loaded, with one line on stderr per directory. Copies of a file already
// loaded cost nothing. Tests set another budget; EndVideo puts the usual one back.
void SetImageMemoryBudget(int64_t bytes);
void FreeImage(int32_t image);
int32_t ImageWidth(int32_t image);
int32_t ImageHeight(int32_t image);
// The colour of one pixel of an image (r + g*256 + b*65536 + a*16777216), for tests. Keyed
// pixels read 0.
uint32_t ImagePixel(int32_t image, int32_t x, int32_t y);

// --- Quads ----------------------------------------------------------------------------------

// A new quad textured with the image, sized like it, white, upright.
int32_t MakeQuad(int32_t id, int32_t image);
bool QuadExists(int32_t quad);
void FreeQuad(int32_t quad);
// Upright width x height with its top-left corner at the drawing point; the accumulated
// rotation is kept, so the next RotateQuad in mode 1 turns it to that value plus the new angle.
// A negative size mirrors the quad about the drawing point.
void ResizeQuad(int32_t quad, int32_t width, int32_t height);
// Rotates about the centre, in degrees, positive clockwise on the screen; mode 1 adds the angle
// to the accumulated rotation, any other mode sets it.
void RotateQuad(int32_t quad, float angle, int32_t mode);
void SetQuadColour(int32_t quad, int32_t colour);
// The image the quad was made from; 0 when it names no quad.
int32_t QuadImage(int32_t quad);
int32_t QuadWidth(int32_t quad);
int32_t QuadHeight(int32_t quad);
// The angle the quad is drawn at: 0 after a resize, else the accumulated rotation.
float QuadAngle(int32_t quad);
float QuadAccumulatedRotation(int32_t quad);

// Blend factors, numbered 1 zero, 2 one, 3 source colour, 4 inverse source colour, 5 source
// alpha, 6 inverse source alpha, 7 destination alpha, 8 inverse destination alpha, 9 destination
// colour, 10 inverse destination colour, 11 saturated source alpha (drawn as source alpha).
// Start value (5, 6); a factor outside 1..11 takes its side's start value. The back buffer's
// alpha is never changed, so it stays opaque. Keyed pixels leave the destination unchanged
// under every pair where some texel can; under pairs such as (2, 5) that takes full texel
// alpha, so there it holds at opacity 255 only.
void SetQuadBlending(int32_t source, int32_t destination);
// 0 nearest pixel, any other value bilinear.
void SetQuadFiltering(int32_t flag);
void BeginQuads();
void EndQuads();
// Draws with the top-left corner at (x, y) and the opacity multiplied by alpha / 255.
void DrawQuad(int32_t quad, int32_t x, int32_t y, int32_t alpha);

// --- The back buffer and plain 2D drawing ---------------------------------------------------

void ClearBackBuffer(int32_t colour);
int32_t BackBufferTarget();
void BeginDrawing(int32_t target);
void EndDrawing();
void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
