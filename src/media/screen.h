// The window, the back buffer, images and quads (textured rectangles), and plain 2D boxes.
//
// - Handles: images and quads are positive numbers. Pass -1 to ask for a new one (a positive
//   number replaces that object); a result of 0 means none or failed. An operation on a number
//   that names nothing does nothing and returns 0.
// - Colours are r + g * 256 + b * 65536, each channel 0..255; higher bits are ignored.
// - Coordinates are pixels of the back buffer (the game's screen), (0, 0) at the top left.
// - Images are decoded into memory when loaded and become textures once a screen is open, so the
//   game logic (and its tests) can load images and make quads without a display; drawing
//   without a screen does nothing.
// - Drawing lands in the back buffer; PresentFrame shows it in the window, scaled to fit.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kMagenta = 255 + 0 * 256 + 255 * 65536;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;

// --- Display and window ---------------------------------------------------------------------

// Starts the video system (no window yet). False where there is no display; then
// NoDisplayReason says why in one line.
bool StartVideo();
std::string NoDisplayReason();
// The primary desktop's size in pixels, 0 without a display. Under SetWindowedSize the pretended
// size; for a player's window (SetWindowStyle) the size that window opens at.
int32_t DesktopWidth();
int32_t DesktopHeight();

// Test harness: pretend the primary desktop is width x height and open an ordinary window of
// that size.
void SetWindowedSize(int32_t width, int32_t height);

// How the player sees the game: the whole display (the default) or a window that can be resized.
// Either way the screen is scaled into it; Alt+Enter and F11 switch between the two at run time.
constexpr int32_t kStyleFullscreen = 0;
constexpr int32_t kStyleWindow = 1;
void SetWindowStyle(int32_t style);

// Opens the main window for a screen of width x height: the whole display, or a window of the
// largest whole multiple of the screen that fits the desktop comfortably (a player's window), or
// the harness's window of its fixed size. Result: the window's number (1), 0 on failure.
int32_t CreateMainWindow(int32_t width, int32_t height, const std::string& title);
// Creates the back buffer of width x height in that window and arms the frame pacing. The back
// buffer is scaled into the window keeping its shape (black bars where the shapes differ): pixel
// for pixel at whole factors, else enlarged to the next whole factor and smoothed down, so that
// pixels stay crisp. Starts cleared to black. Result non-zero on success.
int32_t OpenScreenInWindow(int32_t window, int32_t width, int32_t height);

// The most frames a second that presenting lets through.
constexpr int32_t kMostFramesPerSecond = 61;

// Waits until more than 1/61 s has passed since the previous present (fast mode: no wait, the
// virtual clock advances 16 ms), empties the window's message queue, then shows the back
// buffer. Counts presented frames (also without a screen) and runs the present hooks.
void PresentFrame();
// Frames presented so far (the first present is frame 1).
int32_t PresentedFrames();
// Called right after every present with the frame's number (the test harness uses it).
void SetPresentHook(void (*hook)(int32_t frame));
// Called with the coming frame's number once the picture is in the window and before it is
// shown; SaveWindowPng works there.
void SetBeforePresentHook(void (*hook)(int32_t frame));
// Writes what the window shows as a PNG file (only from the before-present hook). False on
// failure.
bool SaveWindowPng(const std::string& path);

// Handles at most one pending window message, waiting up to 1 ms when none is queued. The game
// itself sees no window message: the close button asks the program to end
// (WindowCloseRequested), Alt+Enter and F11 switch between window and full screen.
void WaitWindowMessage();
// True once the window's close button (or the desktop) asked the program to end.
bool WindowCloseRequested();
// Suspends the thread for that many milliseconds (below 0 counts as 0; 0 only yields). The
// window keeps answering meanwhile, and the wait ends early once a stop signal or the close
// button asks the program to end. In fast mode it only advances the virtual clock.
void SleepMs(int32_t milliseconds);

// Switches between window and full screen, as Alt+Enter and F11 do.
void SwitchFullscreen();
// True while the window covers the display.
bool WindowOnFullScreen();
// The size of the player's window: the one it has, or last had before the full screen.
void PlayerWindowSize(int32_t& width, int32_t& height);
// The size a player's window opens at (SetWindowStyle kStyleWindow), kept within the usable
// desktop; 0 x 0 (the start value) fits it to the display.
void SetPreferredWindowSize(int32_t width, int32_t height);

// What the player changed in the window: called after a switch to or from the full screen, and
// after a resize of the window by the player (each step of a drag).
constexpr int32_t kWindowSwitched = 1;
constexpr int32_t kWindowResized = 2;
void SetWindowChangeHook(void (*hook)(int32_t change));
// A key pressed that plays no part in play, handed over as it comes in from the device with its
// scan code (input.h), whether Alt is held and whether it is the keyboard's repeat; F11 and
// Alt+Enter are not handed over (they switch the full screen).
void SetDesktopKeyHook(void (*hook)(int32_t code, bool alt, bool repeat));

// A short notice over the picture: `text` (capital letters, digits, "%" and spaces) and, for a
// level of 0 to 100, a bar of ten steps below it (-1: none). Drawn in the window's own pixels
// after the back buffer is copied there, so the game's picture and the back buffer stay as
// they are; it shows for `frames` presented frames, the last quarter fading out.
void ShowNotice(const std::string& text, int32_t level, int32_t frames);

// A modal box with one OK button. False where it could not be shown (no display).
bool ShowMessageBox(const std::string& title, const std::string& text);

// Closes the screen, the window and every image and quad, and puts the image and quad
// settings back to their start values (transparent colour magenta, blending (5, 6), nearest).
void EndVideo();

// --- Images ---------------------------------------------------------------------------------

// The transparent colour of every image made from now on (magenta until set); a negative colour
// means none. Pixels of an image's transparent colour are left out when it is drawn.
void SetTransparentColour(int32_t colour);
// Decodes a PNG, JPEG, TGA or TIFF file (chosen by its signature; anything else is tried as
// TGA) into an image; 0 when the file is missing or undecodable. The path goes through
// ResolvePath. A file is decoded once: every image loaded from it has a number of its own but
// shares its pixels (and textures) with the others. Decoded pixels of all files together stay
// within 512 MB: a file that would go beyond it is not loaded, with one line on stderr per
// directory (copies of a file already loaded cost nothing).
int32_t LoadImage(int32_t id, const std::string& path);
// A new image holding that rectangle of the back buffer as drawn so far this frame, clipped to
// the back buffer; 0 when nothing of it lies inside, or without a screen. Like every image it
// takes the transparent colour in force as its key.
int32_t GrabBackBuffer(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
bool ImageExists(int32_t image);
void FreeImage(int32_t image);
// Size in pixels, 0 for no image.
int32_t ImageWidth(int32_t image);
int32_t ImageHeight(int32_t image);
// The colour of one pixel of an image (r + g*256 + b*65536 + a*16777216); keyed pixels and
// pixels outside the image read 0.
uint32_t ImagePixel(int32_t image, int32_t x, int32_t y);

// --- Quads ----------------------------------------------------------------------------------

// A new quad textured with the image, sized like it, upright; 0 when the image does not exist.
// The quad keeps the image's number: freeing the image leaves the quad drawing nothing.
int32_t MakeQuad(int32_t id, int32_t image);
bool QuadExists(int32_t quad);
void FreeQuad(int32_t quad);
// Upright width x height with its top-left corner at the drawing point. The accumulated rotation
// is kept, so the next RotateQuad turns it to that value plus the new angle. A negative size
// mirrors the quad about the drawing point.
void ResizeQuad(int32_t quad, int32_t width, int32_t height);
// Adds the angle (degrees, positive clockwise on the screen) to the quad's accumulated rotation
// and draws it turned by that much about its centre.
void RotateQuad(int32_t quad, float angle);
// The image the quad was made from; 0 when it names no quad.
int32_t QuadImage(int32_t quad);
// The size the quad is drawn at (ResizeQuad's, else its image's); 0 when it names no quad.
int32_t QuadWidth(int32_t quad);
int32_t QuadHeight(int32_t quad);

// Blend factors for every quad drawn from now on, numbered 1 zero, 2 one, 3 source colour,
// 4 inverse source colour, 5 source alpha, 6 inverse source alpha, 7 destination alpha,
// 8 inverse destination alpha, 9 destination colour, 10 inverse destination colour, 11 saturated
// source alpha (drawn as source alpha). Start value (5, 6); a factor outside 1..11 takes its
// side's start value (NormalBlendPair). The back buffer's alpha is never changed, so it stays
// opaque. Keyed pixels leave the destination unchanged under every pair where some texel can;
// under pairs such as (2, 5) that takes full texel alpha, so there it holds at opacity 255 only.
void SetQuadBlending(int32_t source, int32_t destination);
// 0 nearest pixel, any other value bilinear, for every quad drawn from now on.
void SetQuadFiltering(int32_t flag);

// --- Drawing into the back buffer -----------------------------------------------------------

// Bracket a frame's quads; they point drawing at the back buffer.
void BeginQuads();
void EndQuads();
// Draws with the top-left corner at (x, y) and the opacity multiplied by alpha / 255 (alpha is
// clamped to 0..255).
void DrawQuad(int32_t quad, int32_t x, int32_t y, int32_t alpha);
// Fills the whole back buffer.
void ClearBackBuffer(int32_t colour);
// Bracket plain 2D drawing; they point drawing at the back buffer.
void BeginDrawing();
void EndDrawing();
// An opaque box, clipped to the back buffer; a 1 x 1 box sets one pixel. Nothing for a side
// below 1.
void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
