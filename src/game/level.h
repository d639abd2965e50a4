// Level set-up in labyrinth mode: size, seeding, the fresh world, generation, foes, fitting.
#pragma once

#include <cstdint>
#include <string>

extern int32_t baseWidth, baseHeight;

// Largest labyrinth side the tile map holds after ResetWorld.
constexpr int32_t kMaxLabyrinthSide = 256;

// Reads the base description file and builds the first level; a missing file is error 5.
void StartLabyrinthGame(const std::string& path);
// The base description file is five lines: the second is the base width and the third the base
// height (each read as TextToInteger does); the others are read and skipped.
enum class BaseLine { kSkipped, kWidth, kHeight };
// Whoever needs to know more of the reading than the two numbers (the data checker): told of
// each of the five lines, in order, with its number counted from 1.
class BaseFileWatcher {
 public:
  virtual void Line(int32_t number, const std::string& text, BaseLine use) = 0;

 protected:
  ~BaseFileWatcher() = default;
};
// Reads baseWidth and baseHeight from the base description file; false when it cannot be opened.
bool ReadLabyrinthBase(const std::string& path, BaseFileWatcher* watcher = nullptr);
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
