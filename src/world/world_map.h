// World mode: a prepared map read from APPENTRY + APPSTART + ".ai42" (tile names) and ".red" (opacities).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Largest world side the start-up grid holds.
constexpr int32_t kMaxWorldSide = 512;

// The cell file's header: five lines, of which the second and the third are the map's last
// column and last row, read as integers.
struct WorldHeader {
  std::string widthText, heightText;
  int32_t width = 0, height = 0;
};
WorldHeader ReadWorldHeader(int32_t file);

// A position of the files lies on the grid; cells beyond it are read and dropped.
bool InWorldGrid(int64_t x, int64_t y);

// One cell of a map file as read: its place in the files' order (column by column, each column
// from row 0 to row `height`), its text (the three lines of a tile name joined, or the line of
// an opacity), its first line in the file, and how many of its lines the file held (fewer than
// the cell's where the file ends within it).
struct WorldFileCell {
  int64_t x = 0, y = 0;
  std::string text;
  int32_t line = 0;
  int32_t linesRead = 0;
};
using WorldCellVisit = std::function<void(const WorldFileCell&)>;
// Reads the cells of an open cell file past its header, or of an open value file with its
// header, as the game does: until the file ends or column `width` is complete, and at least one
// cell even from a file that ends before it.
void ReadWorldCells(int32_t file, int32_t width, int32_t height, const WorldCellVisit& visit);
void ReadWorldValues(int32_t file, int32_t width, int32_t height, const WorldCellVisit& visit);

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
