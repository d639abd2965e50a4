// Labyrinth generation: walls everywhere, then three seeded walkers carving floor, green and water.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The tiles of labyrinth mode, by the names of their tile files: the generator places wall,
// floor, green and water; the rules of play paint cells blue or pink and fix painted cells.
namespace LabTile {
inline const std::string kWall = "LAB_WALL";
inline const std::string kFloor = "LAB_FLOOR";
inline const std::string kGreen = "LAB_GREEN";
inline const std::string kWater = "LAB_WATER";
inline const std::string kBlueFloor = "LAB_BLUE_FLOOR";
inline const std::string kFixedFloor = "LAB_FIXED_FLOOR";
inline const std::string kPinkFloor = "LAB_PINK_FLOOR";
inline const std::string kFixedPinkFloor = "LAB_FIXED_PINK_FLOOR";
// Every tile a labyrinth game places (the edge variants are placed only from the edge list).
inline const std::string kAll[] = {kWall, kFloor, kGreen, kWater, kBlueFloor, kFixedFloor, kPinkFloor, kFixedPinkFloor};
}  // namespace LabTile

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
