#include "game/level_survey.h"

#include "core/game_state.h"
#include "game/level.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

LevelFigures BuildAndMeasureLevel(int32_t level) {
  gameState.level = level;
  if (level == 1)
    BuildFirstLevel();
  else
    BuildLevel();
  gameState.builtLevel = gameState.level;
  LevelFigures figures;
  figures.level = gameState.level;
  figures.width = gameState.mapWidth;
  figures.height = gameState.mapHeight;
  for (int32_t x = 0; x <= gameState.mapWidth; x++)
    for (int32_t y = 0; y <= gameState.mapHeight; y++) figures.floorCells += tileMap.Name(x, y) == LabTile::kFloor;
  figures.tilesLeft = gameState.tilesLeft;
  figures.clockSeconds = gameState.timeLeft;
  return figures;
}

std::vector<std::string> LevelWarnings(const LevelFigures& figures) {
  std::vector<std::string> warnings;
  if (figures.tilesLeft < 1)
    warnings.push_back("no tiles to do: the game goes on to level " + std::to_string(figures.level + 1) + " at once");
  else if (figures.clockSeconds < 1)
    warnings.push_back("a clock of 0: the game is over one clock second into the level");
  return warnings;
}
