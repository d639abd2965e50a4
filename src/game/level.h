// Level set-up in labyrinth mode: size, seeding, the fresh world, generation, foes, fitting.
#pragma once

#include <cstdint>
#include <string>

extern int32_t baseWidth, baseHeight;

// Largest labyrinth side the tile map holds after ResetWorld.
constexpr int32_t kMaxLabyrinthSide = 256;

// Reads the base description file and builds the first level; a missing file is error 5.
void StartLabyrinthGame(const std::string& path);
// Reads baseWidth and baseHeight from the base description file; false when it cannot be opened.
bool ReadLabyrinthBase(const std::string& path);
// The first level of a run, as StartLabyrinthGame builds it once the base file is read: its own
// size rule and a double seeding, so it differs from the level 1 that BuildLevel builds.
void BuildFirstLevel();
// World mode's start: loads the world map and, when CURSOR names an image, the player's image,
// which world mode draws as labyrinth mode does.
void StartWorldGame();
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
