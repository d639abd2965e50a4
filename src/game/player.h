// The player: its step with the scrolling view, painting under it, and the fixing rules.
#pragma once

#include <cstdint>

// The directions the input mapping delivers for the player's step.
enum Direction : int8_t { kDirUp = 6, kDirDown = 7, kDirLeft = 8, kDirRight = 9, kDirNone = 16 };

// Headings of the player and the foes: the way the step under way goes. A new foe has none
// until its first step.
enum Heading : int32_t {
  kHeadFoeNew = 0,
  kHeadDown = 14,
  kHeadLeft = 15,
  kHeadRight = 16,
  kHeadUp = 17,
  kHeadNone = 18,
};

struct Player {
  float x = 0.0f;         // pixel offset of the sprite from the screen's left edge
  float y = 0.0f;         // pixel offset from the top edge
  int32_t sprite3D = 0;   // the quad drawn for the player
  int32_t sprite = 0;     // the image it was made from
  int32_t moveTick = 0;   // frames counted towards the next movement sample
  int32_t heading = kHeadNone;  // a Heading, kHeadNone outside PlayerStep
};

extern Player player;
// The step under way: first in cells (-1, 0, +1), then in pixels.
extern int32_t stepX, stepY;

// The GAMEMODE that turns on the HARDCORE painting rule; any other value plays the normal game.
constexpr const char* kHardcoreMode = "HARDCORE";

// The player's map cell.
int32_t PlayerColumn();
int32_t PlayerRow();

void PlayerStep(Direction direction);
void MoveOrScroll();
// Touches objects, paints the player's cell, spins and draws the player.
void PlayerFrame();
void PaintCell(int32_t x, int32_t y);
// HARDCORE: ends the game when all four neighbours are blue floor or wall.
void CheckTrapped(int32_t x, int32_t y);
// Back to the title screen, or the end of the program once the quit was confirmed.
void LeaveGame();
void FixBlueBlock(int32_t x, int32_t y);
void FixPinkBlock(int32_t x, int32_t y);

void ResetPlayerState();
