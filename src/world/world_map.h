// World mode: a prepared map read from APPENTRY + APPSTART + ".ai42" (tile names) and ".red" (opacities).
#pragma once

#include <cstdint>

// Largest world side the start-up grid holds.
constexpr int32_t kMaxWorldSide = 512;

// Loads the world; a missing cell file is error 4.
void LoadWorld();
// Reads the cells of an open cell file, past its header, column by column with the file's own
// width and height; cells outside the grid are read and dropped.
void LoadWorldCells(int32_t file, int32_t width, int32_t height);
// Reads an open value file, header included, in the same order.
void LoadWorldValues(int32_t file, int32_t width, int32_t height);

void ResetWorldMapState();

// The progress bar of world loads and labyrinth builds: `length` pixels of bar across the
// screen at 85 % of its height, over a black band as wide as the screen.
void DrawProgressBar(float length);
