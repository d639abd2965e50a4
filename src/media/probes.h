// Looks inside the media layer, for tests and the benchmark only: the game never calls these,
// and no file of src/ outside media/ includes this header (a test checks it).
//
// Handles and colours follow screen.h and sound.h: a number that names nothing gives 0.
#pragma once

#include <cstdint>
#include <string>

// --- Screen ---------------------------------------------------------------------------------

// True while a back buffer is open.
bool ScreenOpen();
// Where the back buffer landed in the window at the last present: x, y, width, height.
void PresentArea(int32_t area[4]);
// Writes the back buffer as a PNG file. False on failure or without a screen.
bool SaveBackBufferPng(const std::string& path);
bool IsFullscreen();
// Handles every pending window message.
void DrainWindowMessages();
// Wall-clock seconds spent in PresentFrame since the program started (pacing waits included).
double PresentSeconds();

// --- Images and quads -----------------------------------------------------------------------

// Gives one image its own transparent colour (negative: none), leaving the others alone.
void SetImageKey(int32_t image, int32_t colour);
// The budget of decoded image pixels in bytes (512 MB until set; EndVideo puts it back).
void SetImageMemoryBudget(int64_t bytes);
// The angle the quad is drawn at: 0 after a resize, else the accumulated rotation.
float QuadAngle(int32_t quad);
float QuadAccumulatedRotation(int32_t quad);
// Tints a quad: its texels are multiplied by the colour (the game draws every quad untinted,
// white).
void SetQuadColour(int32_t quad, int32_t colour);

// --- Files --------------------------------------------------------------------------------

// How many times a directory was listed from the disk since the program started.
int64_t DirectoryReads();

// --- Sound ----------------------------------------------------------------------------------

// True while the sound's voice is playing.
bool SoundPlaying(int32_t sound);
// How many times the sound was started since it was loaded.
int32_t SoundStartCount(int32_t sound);
// The decoded length in output frames.
int32_t SoundFrames(int32_t sound);
// Mixes the next frames of every playing voice into out (frames * kSoundChannels samples), as
// the output device's callback does; without a device nothing else mixes. The voices are
// summed, each bus at its volume, and the sum goes through a limiter that never lets it reach
// full scale: below kLimiterCeiling it passes untouched; a louder sum is turned down at once,
// just enough, held there for a moment and let back up over about a tenth of a second, so the
// wave is scaled and never cut.
void MixSound(int16_t* out, int32_t frames);
constexpr int32_t kLimiterCeiling = 27850;  // about -1.4 dB below full scale
