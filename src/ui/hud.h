// The heads-up display and the map announcement of a new level.
#pragma once

#include <cstdint>
#include <string>

// How far the credits line has moved in from the right edge, in pixels.
extern int32_t tickerOffset;
// The credits line scrolling along the bottom of the screen.
extern const char* const kCreditsTicker;

void DrawHud();
void ShowMapAnnouncement();

void ResetHudState();
