// The world map: the cell file and the value file as the world map reader reads them, cell by
// cell, and the tile files the cells name.
#include <algorithm>

#include "app/check/checker.h"
#include "app/check/texts.h"
#include "core/error_report.h"
#include "core/settings.h"
#include "media/files.h"
#include "media/text.h"
#include "world/tile_map.h"
#include "world/world_map.h"

namespace check {

// A tile name the map uses: its first cell and how many cells use it.
struct TileUse {
  int32_t line = 0, x = 0, y = 0, cells = 0;
};

// What the cell file holds, as its header announces it (negative sides taken as 0) and as the
// game reads it.
struct WorldShape {
  int32_t width = 0, height = 0;  // the sides as the game reads them
  int64_t columns = 0, rows = 0, wanted = 0;
  std::map<std::string, TileUse> uses;
};

namespace {

// Lines left in an open file.
int64_t LinesLeft(int32_t file) {
  int64_t lines = 0;
  for (; !AtEndOfFile(file); lines++) ReadLine(file);
  return lines;
}

int32_t Clamped(int64_t n) { return static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX)); }

}  // namespace

void DataChecker::CheckWorld() {
  const std::string base = settings.APPENTRY + settings.APPSTART;
  const std::string cells = base + ".ai42";
  const Place at = SettingPlace(settings.APPSTART.empty() ? "APPENTRY" : "APPSTART");
  if (!NeedFile(at, "the world map", cells, "the game stops after the title screen with \"" + ErrorText(kErrorWorldMap, "") + "\""))
    return;
  WorldShape shape;
  CheckWorldCells(cells, shape);
  if (DirectoryUsable("RGBCODEPATH")) CheckWorldTiles(cells, shape);
  CheckWorldValues(at, base + ".red", shape);
}

void DataChecker::CheckWorldCells(const std::string& cells, WorldShape& shape) {
  const int32_t file = OpenTextFile(-1, cells);
  const WorldHeader header = ReadWorldHeader(file);
  shape.width = header.width;
  shape.height = header.height;
  int32_t side[2] = {header.width, header.height};
  for (int i = 0; i < 2; i++) {
    const std::string& text = i == 0 ? header.widthText : header.heightText;
    const char* what = i == 0 ? "width" : "height";
    if (!IsWholeNumber(text))
      Error({cells, i + 2}, std::string("the map's ") + what + " " + Quote(text) + " is not a whole number: the game reads " +
                                NumberText(side[i]) + " (line 2 is the last column's number, line 3 the last row's)");
    if (side[i] > kMaxWorldSide)
      Warning({cells, i + 2}, std::string("the map's ") + what + " " + NumberText(side[i]) + " does not fit the map: the game leaves out the cells beyond " +
                                  NumberText(kMaxWorldSide) + " (write " + NumberText(kMaxWorldSide) + " or less)");
    if (side[i] < 0) {
      Error({cells, i + 2}, std::string("the map's ") + what + " " + NumberText(side[i]) + " is negative (write the last column's or row's number)");
      side[i] = 0;
    }
  }
  shape.columns = static_cast<int64_t>(side[0]) + 1;
  shape.rows = static_cast<int64_t>(side[1]) + 1;
  shape.wanted = shape.columns * shape.rows;

  // The cells the game reads, and those after the last it reads.
  int64_t held = 0, lastLine = 5;
  ReadWorldCells(file, header.width, header.height, [&](const WorldFileCell& cell) {
    lastLine = std::max<int64_t>(lastLine, cell.line + cell.linesRead - 1);
    if (cell.linesRead < 3) return;
    held++;
    if (!InWorldGrid(cell.x, cell.y)) return;
    TileUse& use = shape.uses[cell.text];
    if (use.cells++ == 0) use = {cell.line, static_cast<int32_t>(cell.x), static_cast<int32_t>(cell.y), 1};
  });
  const int64_t rest = LinesLeft(file);
  CloseTextFile(file);
  held += rest / 3;
  lastLine += rest;
  if ((lastLine - 5) % 3 != 0)
    Warning({cells, Clamped(lastLine)}, "the last cell has fewer than its three lines (every cell is three lines)");
  if (held < shape.wanted)
    Error({cells, 0}, "the header announces " + std::to_string(shape.columns) + " x " + std::to_string(shape.rows) + " = " +
                          std::to_string(shape.wanted) + " cells, but the file holds " + NumberText(static_cast<int32_t>(held)) +
                          ", so the rest of the map stays empty (columns first: each column from row 0 down)");
  else if (held > shape.wanted)
    Warning({cells, 0}, "the file holds " + NumberText(static_cast<int32_t>(held)) + " cells, more than the " +
                            std::to_string(shape.wanted) + " its header announces, and the game ignores the rest (mend the header, or cut the cells after the last)");
}

void DataChecker::CheckWorldTiles(const std::string& cells, const WorldShape& shape) {
  const std::string directory = TileDirectory();
  std::set<std::string> checked;
  for (const auto& [name, use] : shape.uses) {
    auto staysEmpty = [&, &name = name, &use = use](const std::string& which) {
      Error({cells, use.line}, "cell (" + NumberText(use.x) + ", " + NumberText(use.y) + ") names the tile " + Quote(name) +
                                   ", which " + which + ", so it stays empty (" + NumberText(use.cells) +
                                   (use.cells == 1 ? " cell" : " cells") + " of the map)");
    };
    if (!IsTileName(name))
      staysEmpty("is a path, not the name of a file in " + Shown(directory));
    else if (!CheckNamedTile(directory, name, checked))
      staysEmpty("has no tile file " + Shown(directory + name));
  }
  CheckOtherTiles(directory, checked);
}

// The opacities: one line a cell after five header lines.
void DataChecker::CheckWorldValues(const Place& at, const std::string& values, const WorldShape& shape) {
  if (!IsThere(FindFile(values))) {
    Warning({values, 0}, "there is no value file, so every cell keeps the opacity of its tile (write one opacity line a cell)");
    return;
  }
  NeedFile(at, "the value file", values, "");
  const int32_t file = OpenTextFile(-1, values);
  int64_t given = 0;
  int32_t bad = 0;
  ReadWorldValues(file, shape.width, shape.height, [&](const WorldFileCell& cell) {
    if (cell.linesRead == 0) return;
    given++;
    const int32_t value = TextToInteger(cell.text);
    if (!InWorldGrid(cell.x, cell.y) || (IsWholeNumber(cell.text) && value >= 0 && value <= 255)) return;
    if (++bad > 5) return;  // a broken file need not fill the screen
    Error({values, cell.line}, "the opacity " + Quote(cell.text) + " of cell (" + NumberText(static_cast<int32_t>(cell.x)) + ", " +
                                   NumberText(static_cast<int32_t>(cell.y)) +
                                   ") is not a whole number from 0 to 255 (0 hides the cell, 255 is opaque)");
  });
  given += LinesLeft(file);
  CloseTextFile(file);
  if (given < shape.wanted)
    Error({values, 0}, "the file gives " + NumberText(static_cast<int32_t>(given)) + " opacities for the map's " +
                           std::to_string(shape.wanted) + " cells, so the rest keep the opacity of their tiles (write one line a cell, in the map's order)");
  if (bad > 5) Error({values, 0}, "and " + NumberText(bad - 5) + " more opacities are not whole numbers from 0 to 255 (0 hides the cell, 255 is opaque)");
}

}  // namespace check
