#include "world/world_map.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/error_report.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/tile_map.h"

namespace {

float barLength = 1.0f;  // set once for the run, never reset between loads
int32_t barCounter = 0;

bool barDrawn = true;     // the back buffer holds the bar of the last step

void DrawBar() {
  DrawProgressBar(barLength);
  barDrawn = true;
}

// One step of the world progress bar: it grows every step and is shown on the first step and
// every 501st. Each step's bar covers the one before it whole and nothing else draws between
// steps, so only the bars that are shown, and the load's last (FinishWorldProgress), are drawn:
// the picture is the same as drawing every step, without rasterizing two boxes a cell.
void WorldProgressStep(int32_t width, int32_t height) {
  const int64_t cells = static_cast<int64_t>(width) * height;
  barLength += cells > 0 ? gameState.screenWidth / static_cast<float>(cells) : gameState.screenWidth;
  barDrawn = false;
  if (barCounter == 0) {
    DrawBar();
    PresentFrame();
  }
  if (++barCounter > 500) barCounter = 0;
}

void FinishWorldProgress() {
  if (!barDrawn) DrawBar();
}

// Map sides beyond the start-up grid are cut to fit it (the cells beyond are read and dropped).
int32_t FitWorldSide(int32_t side, const char* what) {
  if (side > kMaxWorldSide) {
    std::fprintf(stderr, "quorvex: the world map's %s %d does not fit the map; cells beyond %d are left out\n", what,
                 side, kMaxWorldSide);
    return kMaxWorldSide;
  }
  return side < 0 ? 0 : side;
}

// The cell at a position of the files, or nullptr where it lies outside the grid.
TileCell* GridCell(int64_t x, int64_t y) {
  if (!InWorldGrid(x, y)) return nullptr;
  return tileMap.Find(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

int32_t LineNumber(int64_t line) { return static_cast<int32_t>(std::min<int64_t>(line, INT32_MAX)); }

// The cells of a map file from line `line` on, each `lines` lines long, in the files' order;
// see ReadWorldCells.
void ReadCellsInOrder(int32_t file, int32_t width, int32_t height, int32_t lines, int64_t line, const WorldCellVisit& visit) {
  WorldFileCell cell;
  do {
    cell.text.clear();
    cell.line = LineNumber(line);
    cell.linesRead = 0;
    for (int32_t i = 0; i < lines; i++) {
      if (!AtEndOfFile(file)) cell.linesRead++;
      cell.text += ReadLine(file);
    }
    line += lines;
    visit(cell);
    if (++cell.y > height) {
      cell.x++;
      cell.y = 0;
    }
  } while (!AtEndOfFile(file) && cell.x <= width);
}

}  // namespace

void LoadWorld() {
  const std::string base = settings.APPENTRY + settings.APPSTART;
  const int32_t cells = OpenTextFile(-1, base + ".ai42");
  if (cells == 0) ReportError(kErrorWorldMap);
  const WorldHeader header = ReadWorldHeader(cells);
  // The files are read with their own sizes, column by column; the map keeps what fits the grid.
  const int32_t width = header.width, height = header.height;
  gameState.mapWidth = FitWorldSide(width, "width");
  gameState.mapHeight = FitWorldSide(height, "height");
  LoadWorldCells(cells, width, height);
  CloseTextFile(cells);

  const int32_t values = OpenTextFile(-1, base + ".red");
  if (values == 0) {
    std::fprintf(stderr, "quorvex: no value file %s.red; the cells keep the opacity of their tiles\n",
                 NativePath(base).c_str());
    return;
  }
  LoadWorldValues(values, width, height);
  CloseTextFile(values);
}

WorldHeader ReadWorldHeader(int32_t file) {
  WorldHeader header;
  std::string lines[5];
  for (std::string& line : lines) line = ReadLine(file);
  header.widthText = lines[1];
  header.heightText = lines[2];
  header.width = TextToInteger(header.widthText);
  header.height = TextToInteger(header.heightText);
  return header;
}

bool InWorldGrid(int64_t x, int64_t y) { return x <= kMaxWorldSide && y <= kMaxWorldSide; }

void ReadWorldCells(int32_t file, int32_t width, int32_t height, const WorldCellVisit& visit) {
  ReadCellsInOrder(file, width, height, 3, 6, visit);
}

void ReadWorldValues(int32_t file, int32_t width, int32_t height, const WorldCellVisit& visit) {
  for (int i = 0; i < 5; i++) ReadLine(file);
  ReadCellsInOrder(file, width, height, 1, 6, visit);
}

void LoadWorldCells(int32_t file, int32_t width, int32_t height) {
  ReadWorldCells(file, width, height, [width, height](const WorldFileCell& read) {
    if (TileCell* cell = GridCell(read.x, read.y)) {
      cell->tileName = read.text;
      cell->inMap = 1;
      if (gameState.drawWorld == 1) {
        const int32_t x = static_cast<int32_t>(read.x), y = static_cast<int32_t>(read.y);
        LoadNamedTile(x, y, read.text);
        BindTileGraphic(x, y, cell->gfxName);
        SpawnTileChildren(x, y);
      }
    }
    WorldProgressStep(width, height);
  });
  FinishWorldProgress();
  ComputeViewSize();
}

void LoadWorldValues(int32_t file, int32_t width, int32_t height) {
  ReadWorldValues(file, width, height, [](const WorldFileCell& read) {
    if (TileCell* cell = GridCell(read.x, read.y)) cell->alpha = TextToInteger(read.text);
  });
  ComputeViewSize();
}

void DrawProgressBar(float length) {
  const int32_t top = RoundHalfEven(gameState.screenHeight * 0.85);
  BeginDrawing();
  FillBox(0, top, RoundHalfEven(gameState.screenWidth), 9, kBlack);
  FillBox(0, top, RoundHalfEven(length), 8, 255);
  EndDrawing();
}

void ResetWorldMapState() {
  barLength = 1.0f;
  barCounter = 0;
  barDrawn = true;
}
