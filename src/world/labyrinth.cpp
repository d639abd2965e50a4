#include "world/labyrinth.h"

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/tile_map.h"
#include "world/world_map.h"

std::vector<EdgeEntry> edgeEntries;
LabyrinthStart labyrinthStart;

namespace {

float barLength = 0.0f;
int32_t barSteps = 0;

bool barDrawn = true;  // the back buffer holds the bar of the last step

void DrawBar() {
  DrawProgressBar(barLength);
  barDrawn = true;
}

// One step of the build progress bar, drawn straight onto the back buffer. Each step's bar
// covers the one before it whole and nothing else draws between steps, so only the bars that
// are shown, and the last one (drawn after the walls), are drawn: the same picture as drawing
// every step, without rasterizing two boxes a cell.
void ProgressStep(int32_t width, int32_t height) {
  if (gameState.builtLevel != gameState.level) {
    barLength = 1.0f;
    gameState.builtLevel = gameState.level;
  }
  const int64_t cells = static_cast<int64_t>(width) * height;
  // A labyrinth of width or height 0 has a single row or column: one step fills the bar.
  barLength += cells > 0 ? gameState.screenWidth / static_cast<float>(cells) : gameState.screenWidth;
  barDrawn = false;
  if (++barSteps > 2 * width) {
    barSteps = 0;
    DrawBar();
    PresentFrame();
  }
}

// The walkers' directions; Random(kWalkDown) draws one of the four.
enum WalkDirection : int32_t { kWalkLeft = 0, kWalkUp = 1, kWalkRight = 2, kWalkDown = 3 };

// The walker shared by the three carving passes: converts the walls it crosses into `into`.
// The floor pass also counts tiles and takes its first converted cell as the start.
void Walk(int32_t width, int32_t height, const std::string& into, bool floor) {
  int32_t x = 1, y = 1, d = kWalkLeft;
  if (floor) labyrinthStart = LabyrinthStart{};
  for (int64_t steps = static_cast<int64_t>(width) * height; steps > 0; steps--) {
    if (Random(settings.LABSWITCH) == 0) d = Random(kWalkDown);
    switch (d) {
      case kWalkLeft: if (x - 1 > 1) x--; break;
      case kWalkUp: if (y - 1 > 1) y--; break;
      case kWalkRight: if (x + 1 < width - 1) x++; break;
      case kWalkDown: if (y + 1 < height - 1) y++; break;
    }
    if (tileMap.Name(x, y) != LabTile::kWall) continue;
    PlaceTile(x, y, into);
    if (!floor) continue;
    gameState.tilesLeft++;
    if (!labyrinthStart.found) labyrinthStart = LabyrinthStart{true, x, y};
  }
}

// One sweep of the edge pass: a cell whose neighbour at (dx, dy) is wall, green or water
// under another name becomes that tile's edge variant.
void EdgeSweep(int32_t dx, int32_t dy, const char* suffix) {
  for (const EdgeEntry& e : edgeEntries) {
    const int32_t nx = e.x + dx, ny = e.y + dy;
    if (nx < 0 || ny < 0) continue;
    const std::string& neighbour = tileMap.Name(nx, ny);
    if (e.tileName == neighbour) continue;
    if (neighbour == LabTile::kWall || neighbour == LabTile::kGreen || neighbour == LabTile::kWater) PlaceTile(e.x, e.y, neighbour + suffix);
  }
}

}  // namespace

void FillWalls(int32_t width, int32_t height) {
  for (int32_t x = 0; x <= width; x++)
    for (int32_t y = 0; y <= height; y++) {
      PlaceTile(x, y, LabTile::kWall);
      if (TileCell* cell = tileMap.Find(x, y)) cell->inMap = 1;
      ProgressStep(width, height);
    }
  if (!barDrawn) DrawBar();
  ComputeViewSize();
}

void CarveFloor(int32_t width, int32_t height) {
  Walk(width, height, LabTile::kFloor, true);
  gameState.tilesLeft /= 4;
  gameState.timeLeft = gameState.tilesLeft / 4;
  if (gameState.timeLeft > 60) gameState.timeLeft = 60;
}

void CarveGreen(int32_t width, int32_t height) { Walk(width, height, LabTile::kGreen, false); }

void CarveWater(int32_t width, int32_t height) { Walk(width, height, LabTile::kWater, false); }

void EdgePass() {
  if (settings.USEEXTENDEDTOPO != 1) return;
  EdgeSweep(-1, 0, "_E");
  EdgeSweep(0, -1, "_S");
}

void ResetLabyrinthState() {
  edgeEntries.clear();
  labyrinthStart = LabyrinthStart{};
  barLength = 0.0f;
  barSteps = 0;
  barDrawn = true;
}
