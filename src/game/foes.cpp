#include "game/foes.h"

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/player.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

std::vector<Foe> foes;

namespace {

Foe* current = nullptr;

// A foe may step into a neighbour only when its useCollision is 0 (outside the grid is closed).
bool Open(int32_t x, int32_t y) { return tileMap.Collision(x, y) == 0; }

// Tries one step towards a heading: the chance, then the neighbour beyond the foe's cell.
bool TryStep(int32_t heading, int32_t cx, int32_t cy) {
  Foe& foe = *current;
  switch (heading) {
    case kHeadRight:
      if (Random(foe.randomMove) != 0 || !Open(cx + 1, cy)) return false;
      FoeStepX(1);
      break;
    case kHeadLeft:
      if (Random(foe.randomMove) != 0 || !Open(cx - 1, cy)) return false;
      FoeStepX(-1);
      break;
    case kHeadDown:
      if (Random(foe.randomMove) != 0 || !Open(cx, cy + 1)) return false;
      FoeStepY(1);
      break;
    case kHeadUp:
      if (Random(foe.randomMove) != 0 || !Open(cx, cy - 1)) return false;
      FoeStepY(-1);
      break;
    default: return false;
  }
  foe.heading = heading;
  return true;
}

}  // namespace

int32_t FoeColumn(const Foe& foe) { return RoundHalfEven(static_cast<double>(foe.x) / gameState.tileWidth); }
int32_t FoeRow(const Foe& foe) { return RoundHalfEven(static_cast<double>(foe.y) / gameState.tileHeight); }

void SetCurrentFoe(Foe* foe) { current = foe; }

void FoesFrame() {
  const float viewPixelX = gameState.viewX * gameState.tileWidth;
  const float viewPixelY = gameState.viewY * gameState.tileHeight;
  for (Foe& foe : foes) {
    current = &foe;
    if (foe.rotation != 0) RotateQuad(foe.foeSprite, static_cast<float>(foe.rotation));
    FoeThink(foe.aiLevel);
    if (foe.blendSource > 0 || foe.blendDest > 0)
      SetQuadBlending(foe.blendSource, foe.blendDest);
    else
      SetQuadBlending(5, 6);
    DrawQuad(foe.foeSprite, RoundHalfEven(static_cast<double>(foe.x) + foe.drawOffsetX - viewPixelX),
             RoundHalfEven(static_cast<double>(foe.y) + foe.drawOffsetY - viewPixelY), foe.alpha);
    SetQuadBlending(5, 6);
  }
  current = nullptr;
}

void FoeThink(int8_t level) {
  if (!current || current->moveChance < 0 || Random(current->moveChance) != 0) return;
  if (level == 2 || level == 3 || level == 4) return;
  FoeWander();
}

void FoeWander() {
  if (!current) return;
  const int32_t cx = FoeColumn(*current), cy = FoeRow(*current);
  if (Random(current->changeDirection) != 0) {
    FoeContinue();
    return;
  }
  for (int32_t heading : {kHeadRight, kHeadLeft, kHeadDown, kHeadUp})
    if (TryStep(heading, cx, cy)) return;
}

void FoeContinue() {
  if (!current) return;
  TryStep(current->heading, FoeColumn(*current), FoeRow(*current));
}

void FoeStepX(int8_t direction) {
  if (!current || current->velocityX == 0) return;
  current->x = RoundHalfEven(current->x + direction * static_cast<double>(gameState.tileWidth) / current->velocityX);
  FoeMark(current->x, current->y);
  PlaySoundByName(settings.DEFTILESOUND, 0);
}

void FoeStepY(int8_t direction) {
  if (!current || current->velocityY == 0) return;
  current->y = RoundHalfEven(current->y + direction * static_cast<double>(gameState.tileHeight) / current->velocityY);
  FoeMark(current->x, current->y);
  PlaySoundByName(settings.DEFTILESOUND, 0);
}

void FoeMark(int32_t px, int32_t py) {
  const int32_t x = RoundHalfEven(static_cast<double>(px) / gameState.tileWidth);
  const int32_t y = RoundHalfEven(static_cast<double>(py) / gameState.tileHeight);
  const std::string& name = tileMap.Name(x, y);
  if (name == LabTile::kFloor || name == LabTile::kGreen || name == LabTile::kBlueFloor) PlaceTile(x, y, LabTile::kPinkFloor);
}
