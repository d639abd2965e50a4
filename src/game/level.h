// Level set-up in labyrinth mode: size, seeding, the fresh world, generation, foes, fitting.
#pragma once

#include <cstdint>
#include <string>

extern int32_t baseWidth, baseHeight;

// Largest labyrinth side the tile map holds after ResetWorld.
constexpr int32_t kMaxLabyrinthSide = 256;

// Reads the base description file and builds the first level; a missing file is error 5.
void StartLabyrinthGame(const std::string& path);
// Builds the labyrinth of the current level.
void BuildLevel();
void ClearFoes();
void SpawnFoes();
void ResetPlayerHeading();
// Puts the player on the labyrinth's start cell (the build leaves the view at column and row 0).
void PlacePlayerAtStart();
// Loads the CURSOR image (white transparent) into the player's sprites.
void LoadPlayerSprite();

void ResetLevelState();
