#include "game/bombs.h"

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/play_screens.h"
#include "game/player.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

PlayScreens playScreens;

std::string bombStock = kBombIcon;
int8_t bombArmed = 0;
int8_t bombKeyState = kBombKeyAtStart;

namespace {

// A fixed cell reached by the blast turns back into floor, one more tile to do.
void Blast(int32_t x, int32_t y, bool withSound) {
  const std::string& name = tileMap.Name(x, y);
  if (name != LabTile::kFixedFloor && name != LabTile::kFixedPinkFloor) return;
  PlaceTile(x, y, LabTile::kFloor);
  gameState.tilesLeft = WrapAdd(gameState.tilesLeft, 1);
  if (withSound) PlaySoundByName(settings.EXPLOSIONSOUND, 0);
}

}  // namespace

void DispatchCommand(Command command) {
  if (bombKeyState == kBombKeyReleased) bombArmed = 1;
  switch (command) {
    case kCmdPause: OpenScreen(playScreens.pause); break;
    case kCmdQuit: OpenScreen(playScreens.quitQuestion); break;
    case kCmdBomb:
      if (bombArmed == 1) {
        DropBomb();
        bombArmed = 0;
        bombKeyState = kBombKeyUsed;
      }
      break;
    default: break;
  }
}

void DropBomb() {
  if (bombStock.empty()) return;
  Explode();
  bombStock.pop_back();
}

void Explode() {
  const int32_t ox = PlayerColumn(), oy = PlayerRow();
  const int32_t w = gameState.mapWidth, h = gameState.mapHeight;
  auto open = [](int32_t x, int32_t y) { return tileMap.Collision(x, y) != 2; };
  for (int32_t c = ox; c < w && open(c, oy); c++) Blast(c, oy, false);
  for (int32_t c = ox; c > 0 && open(c, oy); c--) Blast(c, oy, false);
  for (int32_t r = oy; r < h && open(ox, r); r++) Blast(ox, r, false);
  for (int32_t r = oy; r > 0 && open(ox, r); r--) Blast(ox, r, true);
}

void ResetBombState() {
  bombStock = kBombIcon;
  bombArmed = 0;
  bombKeyState = kBombKeyAtStart;
}
