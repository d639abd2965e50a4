#include "game/pickups.h"

#include <cmath>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/bombs.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/tile_map.h"

int32_t scoreTarget = 0;

namespace {

// The placed object a child slot refers to, or nullptr when it names none.
PlacedObject* SlotObject(const TileCell& cell, int32_t slot) {
  if (slot < 0 || slot > 7) return nullptr;
  const int32_t position = cell.childObject[slot];
  if (position < 0 || static_cast<size_t>(position) >= placedObjects.size()) return nullptr;
  return &placedObjects[static_cast<size_t>(position)];
}

int32_t LastSlot(const TileCell& cell) { return cell.lastChildSlot > 7 ? 7 : cell.lastChildSlot; }

}  // namespace

void ObjectsFrame() {
  if (gameState.viewX < 0.0f) gameState.viewX = 0.0f;
  if (gameState.viewY < 0.0f) gameState.viewY = 0.0f;
  const int32_t left = RoundHalfEven(gameState.viewX), top = RoundHalfEven(gameState.viewY);
  const int32_t columns = static_cast<int32_t>(std::fmax(0.0f, gameState.viewCols));
  const int32_t rows = static_cast<int32_t>(std::fmax(0.0f, gameState.viewRows));
  for (int32_t row = 0; row < rows; row++)
    for (int32_t column = 0; column <= columns; column++) {
      TileCell* cell = tileMap.Find(left + column, top + row);
      if (!cell) continue;
      cell->hasContactObjects = 0;
      if (placedObjects.empty()) continue;
      for (int32_t k = 0; k <= LastSlot(*cell); k++) {
        if (cell->childObject[k] == -1 || cell->tileSprite == 0 || cell->inMap != 1) continue;
        const PlacedObject* o = SlotObject(*cell, k);
        if (!o) continue;
        if (o->objSprite != 0 && o->gfxShow == 1 && o->isPlayer == 0) {
          if (o->blendSource > 0 || o->blendDest > 0)
            SetQuadBlending(o->blendSource, o->blendDest);
          else
            SetQuadBlending(5, 6);
          DrawQuad(o->objSprite, RoundHalfEven(column * static_cast<double>(gameState.tileWidth) + o->drawOffsetX),
                   RoundHalfEven(row * static_cast<double>(gameState.tileHeight) + o->drawOffsetY), o->alpha);
        }
        if (o->collision != 0) cell->hasContactObjects = 1;
      }
    }
}

void TouchObjects(int32_t x, int32_t y) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell || cell->hasContactObjects == 0) return;
  for (int32_t k = 0; k <= LastSlot(*cell); k++) {
    const PlacedObject* o = SlotObject(*cell, k);
    if (o && o->collision != 0) TouchObject(x, y, k);
  }
}

void TouchObject(int32_t x, int32_t y, int32_t slot) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell) return;
  const PlacedObject* o = SlotObject(*cell, slot);
  if (!o) return;
  PlayObjectSound(cell->childObject[slot]);
  if (o->killOnCollision != 0) {
    TakeObject(x, y, slot);
    if (o->countToScore == 0)
      gameState.score = WrapAdd(gameState.score, o->scoreValue);
    else
      scoreTarget = WrapAdd(scoreTarget, o->scoreValue);
  }
  gameState.timeLeft = WrapAdd(gameState.timeLeft, o->extraTime);
}

void TakeObject(int32_t x, int32_t y, int32_t slot) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell || slot < 0 || slot > 7) return;
  if (cell->childName[slot] == kBombPickup) {
    if (bombStock.size() < 3) {
      bombStock += kBombIcon;
      cell->childObject.Set(slot, -1);
    }
  } else {
    cell->childObject.Set(slot, -1);
  }
}

void PlayObjectSound(int32_t position) {
  if (soundEffects.empty() || position < 0 || static_cast<size_t>(position) >= placedObjects.size()) return;
  const PlacedObject& o = placedObjects[static_cast<size_t>(position)];
  if (o.useCountSound != 0) PlaySoundByName(o.countSound, 0);
}

void TimerFrame(int8_t direction, bool levelWon) {
  if (direction != 1 && direction != -1) return;
  gameState.frameTick = WrapAdd(gameState.frameTick, 1);
  if (gameState.frameTick > settings.WORLDREFRESH) {
    gameState.frameTick = 0;
    if (!levelWon) TimerSecond(direction);
  }
}

void TimerSecond(int8_t direction) {
  gameState.timeLeft = WrapAdd(gameState.timeLeft, direction);
  if (gameState.timeLeft >= 1 && gameState.timeLeft <= 10) PlaySoundByName(settings.TIMERSOUND, 0);
  CheckTimeOut(gameState.timeLeft);
}

void CheckTimeOut(int32_t t) {
  if (t < 0 && gameState.inTitle == 0) gameState.screenState = kScreenGameOver;
}

void ResetPickupState() { scoreTarget = 0; }
