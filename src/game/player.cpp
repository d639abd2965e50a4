#include "game/player.h"

#include <cmath>

#include "core/game_state.h"
#include "core/settings.h"
#include "core/shutdown.h"
#include "data/assets.h"
#include "game/pickups.h"
#include "game/play_screens.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

Player player;
int32_t stepX = 0, stepY = 0;

namespace {

// floor(pixel / tile) + view, as a cell index (0 where the sizes make no number).
int32_t CellOf(float pixel, float tile, float view) {
  const double cell = std::floor(static_cast<double>(pixel) / tile) + view;
  if (!std::isfinite(cell) || cell > 2147483647.0 || cell < -2147483648.0) return 0;
  return static_cast<int32_t>(cell);
}

// The blue and pink fixing rules: the cell becomes `fixed` when it and the three other cells
// of one of four patterns are all `floor` or `fixed`.
bool PatternComplete(int32_t x, int32_t y, const std::string& floor, const std::string& fixed) {
  auto match = [&](int32_t cx, int32_t cy) {
    const std::string& name = tileMap.Name(cx, cy);
    return name == floor || name == fixed;
  };
  static const int kPatterns[4][3][2] = {
      {{-1, 0}, {-1, 1}, {0, 1}},    // 2 x 2 with the cell at its top right
      {{1, 0}, {1, 1}, {0, 1}},      // 2 x 2 with the cell at its top left
      {{0, -1}, {1, -1}, {-1, -1}},  // the row of three above
      {{0, 1}, {1, 1}, {-1, 1}},     // the row of three below
  };
  for (const auto& pattern : kPatterns) {
    bool complete = true;
    for (const auto& offset : pattern) complete = complete && match(x + offset[0], y + offset[1]);
    if (complete) return true;
  }
  return false;
}

}  // namespace

int32_t PlayerColumn() { return CellOf(player.x, gameState.tileWidth, gameState.viewX); }
int32_t PlayerRow() { return CellOf(player.y, gameState.tileHeight, gameState.viewY); }

void PlayerStep(Direction direction) {
  stepX = 0;
  stepY = 0;
  if (direction == kDirLeft) stepX = -1;
  if (direction == kDirRight) stepX = 1;
  if (direction == kDirUp) stepY = -1;
  if (direction == kDirDown) stepY = 1;
  if (tileMap.Collision(PlayerColumn() + stepX, PlayerRow() + stepY) != 0) {
    stepX = 0;
    stepY = 0;
  }
  player.heading = kHeadNone;
  if (stepX == -1) player.heading = kHeadLeft;
  if (stepX == 1) player.heading = kHeadRight;
  if (stepY == -1) player.heading = kHeadUp;
  if (stepY == 1) player.heading = kHeadDown;
  if (player.heading != kHeadNone) {
    PlaySoundByName(settings.DEFTILESOUND, 0);
    MoveOrScroll();
  }
  player.heading = kHeadNone;
}

void MoveOrScroll() {
  stepX = RoundHalfEven(static_cast<double>(stepX) * gameState.tileWidth);
  stepY = RoundHalfEven(static_cast<double>(stepY) * gameState.tileHeight);
  const float middleX = gameState.screenWidth / 2.0f, middleY = gameState.screenHeight / 2.0f;
  switch (player.heading) {
    case kHeadRight:
      if (player.x + static_cast<float>(stepX) > middleX)
        gameState.viewX += 1.0f;
      else
        player.x += static_cast<float>(stepX);
      break;
    case kHeadDown:
      if (player.y + static_cast<float>(stepY) > middleY)
        gameState.viewY += 1.0f;
      else
        player.y += static_cast<float>(stepY);
      break;
    case kHeadLeft:
      if (player.x >= middleX) {
        player.x += static_cast<float>(stepX);
      } else {
        gameState.viewX -= 1.0f;
        if (gameState.viewX < 1.0f) {
          player.x += static_cast<float>(stepX);
          gameState.viewX = 1.0f;
        }
      }
      break;
    case kHeadUp:
      if (player.y > middleY) {
        player.y += static_cast<float>(stepY);
      } else {
        gameState.viewY -= 1.0f;
        if (gameState.viewY < 1.0f) {
          player.y += static_cast<float>(stepY);
          gameState.viewY = 1.0f;
        }
      }
      break;
  }
}

void PlayerFrame() {
  const int32_t x = PlayerColumn(), y = PlayerRow();
  const TileCell* cell = tileMap.Find(x, y);
  if (cell && cell->hasContactObjects == 1) TouchObjects(x, y);
  PaintCell(x, y);
  RotateQuad(player.sprite3D, 1.0f);
  DrawQuad(player.sprite3D, RoundHalfEven(player.x), RoundHalfEven(player.y), 255);
}

void PaintCell(int32_t x, int32_t y) {
  const std::string name = tileMap.Name(x, y);
  if (name == LabTile::kFloor || name == LabTile::kGreen) {
    PlaceTile(x, y, LabTile::kBlueFloor);
    PlaySoundByName(settings.DEFTILESOUND, 0);
    if (settings.GAMEMODE == kHardcoreMode) {
      if (TileCell* cell = tileMap.Find(x, y)) cell->useCollision = 1;
      CheckTrapped(x, y);
    }
  } else if (name == LabTile::kPinkFloor) {
    PlaceTile(x, y, LabTile::kBlueFloor);
    PlaySoundByName(settings.DEFTILESOUND, 0);
  }
}

void CheckTrapped(int32_t x, int32_t y) {
  auto closed = [](int32_t cx, int32_t cy) {
    if (!tileMap.Inside(cx, cy)) return true;
    const std::string& name = tileMap.Name(cx, cy);
    return name == LabTile::kBlueFloor || name == LabTile::kWall;
  };
  if (closed(x + 1, y) && closed(x - 1, y) && closed(x, y + 1) && closed(x, y - 1)) LeaveGame();
}

void LeaveGame() {
  if (gameState.quitRequested == 0)
    OpenScreen(playScreens.title);
  else
    ShutDown();
}

void FixBlueBlock(int32_t x, int32_t y) {
  const std::string& name = tileMap.Name(x, y);
  if (name != LabTile::kBlueFloor && name != LabTile::kFixedFloor) return;
  if (!PatternComplete(x, y, LabTile::kBlueFloor, LabTile::kFixedFloor) || name != LabTile::kBlueFloor) return;
  PlaceTile(x, y, LabTile::kFixedFloor);
  PlaySoundByName(settings.FIXEDTILESOUND, 0);
  gameState.score = WrapAdd(gameState.score, tileMap.Find(x, y)->value1);
  gameState.tilesLeft = WrapAdd(gameState.tilesLeft, -1);
}

void FixPinkBlock(int32_t x, int32_t y) {
  const std::string& name = tileMap.Name(x, y);
  if (name != LabTile::kPinkFloor && name != LabTile::kFixedPinkFloor) return;
  if (!PatternComplete(x, y, LabTile::kPinkFloor, LabTile::kFixedPinkFloor) || name != LabTile::kPinkFloor) return;
  PlaceTile(x, y, LabTile::kFixedPinkFloor);
  PlaySoundByName(settings.PINKTILEFIXEDSOUND, 0);
}

void ResetPlayerState() {
  player = Player{};
  stepX = 0;
  stepY = 0;
}
