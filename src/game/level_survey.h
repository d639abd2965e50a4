// What a labyrinth level grows into, measured on the level built by the game's own level set-up:
// the figures a data author judges a seed and a base size by, and warnings for a level that
// cannot be played as meant.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LevelFigures {
  int32_t level = 0;
  int32_t width = 0, height = 0;  // mapWidth and mapHeight: the labyrinth spans 0..width x 0..height
  int32_t floorCells = 0;         // cells the floor walker carved
  int32_t tilesLeft = 0;          // the work of the level as it starts
  int32_t clockSeconds = 0;       // timeLeft as it starts
};

// Builds level n as a run of the game reaches it: level 1 as a run begins with it
// (BuildFirstLevel), every later level as BuildLevel builds it, and measures it. Needs the
// configuration read, the base file read (ReadLabyrinthBase) and the media the builds use
// loaded: topography images, object definitions (their chances draw from the level's seed) and
// the music list (so does the choice of a track). Leaves the level in the tile map, with its
// objects, its foes and the player on its start.
LevelFigures BuildAndMeasureLevel(int32_t level);

// One text per way the level fails to play as meant: no tiles to do (the game goes on at once)
// or a clock of 0 (the game ends a clock second into the level). Empty for a sound level.
std::vector<std::string> LevelWarnings(const LevelFigures& figures);
