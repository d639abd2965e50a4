// Foes: they wander the labyrinth by their definitions' numbers and paint the floor pink.
#pragma once

#include <cstdint>
#include <vector>

#include "game/player.h"

struct Foe {
  int32_t x = 0, y = 0;                  // world pixel position of the left and top edges
  float drawOffsetX = 0.0f, drawOffsetY = 0.0f;
  float width = 0.0f, height = 0.0f;
  int32_t blendSource = 0, blendDest = 0;  // DXMODE1, DXMODE2; both 0 or less: the ordinary blend
  int32_t alpha = 0;                     // DGFXTRANSPARENCY
  int32_t foeSprite = 0;                 // its own quad
  int32_t randomMove = 0;                // DRANDOMMOVE: a step is taken with chance 1 in n + 1
  int32_t velocityX = 0, velocityY = 0;  // DVELOX, DVELOY: sub-steps per cell; 0 cannot move
  int8_t aiLevel = 0;                    // DAILEVEL: 2, 3 and 4 stand still
  int32_t moveChance = 0;                // DDMOVE: acts with chance 1 in n + 1; below 0 never
  int32_t changeDirection = 0;           // DCHANGEDIRECTION
  int32_t heading = kHeadFoeNew;         // a Heading
  int32_t rotation = 0;                  // DROTATE: degrees per frame
  // Copied from the definition; nothing in play reads them.
  int8_t gfxShow = 0, collision = 0;
  int32_t moveX = 0, moveY = 0;
};

extern std::vector<Foe> foes;

// A foe's cell: x / tileWidth and y / tileHeight, halves to the even neighbour.
int32_t FoeColumn(const Foe& foe);
int32_t FoeRow(const Foe& foe);

// Turns, runs and draws every foe.
void FoesFrame();
// The functions below work on the current foe of FoesFrame's walk (or the one set for tests).
void SetCurrentFoe(Foe* foe);
void FoeThink(int8_t level);
void FoeWander();
void FoeContinue();
void FoeStepX(int8_t direction);
void FoeStepY(int8_t direction);
// Paints the cell under pixel (px, py) pink where it is floor, green or blue.
void FoeMark(int32_t px, int32_t py);
