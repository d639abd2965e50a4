#include "game/draw_map.h"

#include "core/game_state.h"
#include "game/player.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/tile_map.h"

void DrawMap() {
  float c = 0.0f, r = 0.0f;
  gameState.cellX = RoundHalfEven(gameState.viewX);
  gameState.cellY = RoundHalfEven(gameState.viewY);
  do {
    TileCell* cell = tileMap.Find(gameState.cellX, gameState.cellY);
    if (cell && cell->alpha > 0 && cell->inMap == 1) {
      FixBlueBlock(gameState.cellX, gameState.cellY);
      FixPinkBlock(gameState.cellX, gameState.cellY);
      DrawQuad(cell->tileSprite, RoundHalfEven(c * gameState.tileWidth), RoundHalfEven(r * gameState.tileHeight), cell->alpha);
    }
    c += 1.0f;
    gameState.cellX++;
    if (c > gameState.viewCols) {
      c = 0.0f;
      r += 1.0f;
      gameState.cellY++;
      gameState.cellX = RoundHalfEven(gameState.viewX);
    }
  } while (r < gameState.viewRows);
}
