// A world map as its two files hold it, and writing them: the cell file (.ai42, three texts a
// cell) and the value file (.red, an opacity a cell), both column by column after five header
// lines. What the map tool imports becomes these cells; what it exports is read from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The largest map the game holds: its start-up grid of 513 x 513 cells.
constexpr int32_t kMostMapCells = 513;

struct MapCells {
  int32_t columns = 0, rows = 0;
  // Per cell, column by column (index x * rows + y): the three texts whose joining is its tile name.
  std::vector<std::array<std::string, 3>> texts;
  std::vector<int32_t> opacity;  // 0 hidden .. 255 opaque
  size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(x) * static_cast<size_t>(rows) + static_cast<size_t>(y); }
  void Resize(int32_t columnCount, int32_t rowCount);
};

// The three texts a tile name is written as: nine digits as three of three (the demo's colour
// codes, "150110086" as "150", "110", "086"), any other name whole on the first line.
std::array<std::string, 3> SplitTileName(const std::string& name);

// Reads the three texts of every cell of the cell file at `path` the way the game steps through
// it (with its own width and height, the cells beyond the grid dropped); cells the file does not
// reach stay empty. False when the file cannot be opened.
bool ReadCellTexts(const std::string& path, MapCells& cells);

// Writes `text` to `path` whole or not at all: a temporary file beside it, then a rename.
bool WriteFileWhole(const std::string& path, const std::string& text);

// The two files' texts for these cells, keeping the header lines 1, 4 and 5 (and the line ends)
// of the files already at those paths; a missing file gets the demo's header lines.
struct MapFileTexts {
  std::string cells, values;
};
MapFileTexts MapFilesFor(const MapCells& cells, const std::string& cellPath, const std::string& valuePath);

// Writes both files, each whole or not at all; false (with the reason) when either fails, and
// then neither has changed unless the second rename failed after the first.
bool WriteMapFiles(const MapCells& cells, const std::string& cellPath, const std::string& valuePath, std::string& error);
