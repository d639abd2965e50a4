// The heads-up display and the map announcement of a new level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How far the credits line has moved in from the right edge, in pixels.
extern int32_t tickerOffset;
// The credits line scrolling along the bottom of the screen.
extern const char* const kCreditsTicker;

void DrawHud();
void ShowMapAnnouncement();

// Frames of the sweep that the map announcement and the game-over screen play: one per 20
// pixels of screen width, counted while 1 + 20 x frame < width (52 frames at 1024 pixels).
// A width that is not a number gives none; an absurd one is held to about a million.
int32_t SweepFrames(float screenWidth);

// Every text the display and the map announcement draw, each number shown by a sample that
// holds every character a number can show.
std::vector<std::string> HudTexts();

void ResetHudState();
