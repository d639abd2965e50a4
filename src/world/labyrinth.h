// Labyrinth generation: walls everywhere, then three seeded walkers carving floor, green and water.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A pending edge-variant entry; nothing in the game fills the list yet, data may in future.
struct EdgeEntry {
  int32_t x = 0, y = 0;
  std::string tileName;
};
extern std::vector<EdgeEntry> edgeEntries;

// The floor walker's first converted cell, where the player starts; not found when the walker
// converted nothing (the player then stays where it was).
struct LabyrinthStart {
  bool found = false;
  int32_t x = 0, y = 0;
};
extern LabyrinthStart labyrinthStart;

// Fills 0..W x 0..H with "LAB_WALL" (inMap 1) and shows the build progress bar.
void FillWalls(int32_t width, int32_t height);
// The floor walker: also sets labyrinthStart, tilesLeft and timeLeft.
void CarveFloor(int32_t width, int32_t height);
void CarveGreen(int32_t width, int32_t height);
void CarveWater(int32_t width, int32_t height);
// Edge variants of walls, green and water for the pending entries (USEEXTENDEDTOPO 1 only).
void EdgePass();

// Forgets the progress bar's state (tests).
void ResetLabyrinthState();
