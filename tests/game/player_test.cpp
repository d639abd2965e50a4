#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/player.h"
#include "media/input.h"
#include "media/probes.h"
#include "media/sound.h"
#include "support/game_fixture.h"
#include "support/program_end.h"
#include "world/tile_map.h"

namespace {

class PlayerRules : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    WriteLabyrinthTiles();
    WriteSound("step.ogg");
    WriteSound("fixed.ogg");
    settings.DEFTILESOUND = "step.ogg";
    settings.FIXEDTILESOUND = "fixed.ogg";
    LoadData();
  }
  void Place(int x, int y, const char* name) {
    PlaceTile(x, y, name);
    tileMap.Find(x, y)->inMap = 1;
  }
  int32_t Starts(const std::string& sound) {
    for (const SoundEntry& s : soundEffects)
      if (s.fileName == sound) return SoundStartCount(s.sound);
    return -1;
  }
};

TEST_F(PlayerRules, LoneTwoByTwoBlockFixesOnlyItsUpperCells) {
  for (int x : {5, 6})
    for (int y : {5, 6}) Place(x, y, "LAB_BLUE_FLOOR");
  gameState.tilesLeft = 10;
  for (int pass = 0; pass < 3; pass++)
    for (int y = 4; y <= 7; y++)
      for (int x = 4; x <= 7; x++) {
        FixBlueBlock(x, y);
        FixPinkBlock(x, y);
      }
  EXPECT_EQ(tileMap.Name(5, 5), "LAB_FIXED_FLOOR");  // pattern B
  EXPECT_EQ(tileMap.Name(6, 5), "LAB_FIXED_FLOOR");  // pattern A
  EXPECT_EQ(tileMap.Name(5, 6), "LAB_BLUE_FLOOR");
  EXPECT_EQ(tileMap.Name(6, 6), "LAB_BLUE_FLOOR");
  EXPECT_EQ(gameState.score, 20);  // VALUE1 of the fixed floor's file, twice
  EXPECT_EQ(gameState.tilesLeft, 8);
  EXPECT_EQ(Starts("fixed.ogg"), 2);
}

TEST_F(PlayerRules, RowsOfThreeAboveOrBelowFixTheCell) {
  for (int x : {2, 3, 4}) Place(x, 2, x == 3 ? "LAB_FIXED_FLOOR" : "LAB_BLUE_FLOOR");
  Place(3, 3, "LAB_BLUE_FLOOR");
  FixBlueBlock(3, 3);
  EXPECT_EQ(tileMap.Name(3, 3), "LAB_FIXED_FLOOR");  // pattern C
  for (int x : {7, 8, 9}) Place(x, 9, "LAB_BLUE_FLOOR");
  Place(8, 8, "LAB_BLUE_FLOOR");
  FixBlueBlock(8, 8);
  EXPECT_EQ(tileMap.Name(8, 8), "LAB_FIXED_FLOOR");  // pattern D
  // Two cells above are not a row of three.
  Place(20, 1, "LAB_BLUE_FLOOR");
  Place(21, 1, "LAB_BLUE_FLOOR");
  Place(20, 2, "LAB_BLUE_FLOOR");
  FixBlueBlock(20, 2);
  EXPECT_EQ(tileMap.Name(20, 2), "LAB_BLUE_FLOOR");
}

TEST_F(PlayerRules, PinkBlocksFixWithoutScoreAndCellsOutsideTheGridNeverMatch) {
  for (int x : {0, 1})
    for (int y : {0, 1}) Place(x, y, "LAB_PINK_FLOOR");
  gameState.tilesLeft = 4;
  FixPinkBlock(0, 0);
  FixBlueBlock(0, 0);
  EXPECT_EQ(tileMap.Name(0, 0), "LAB_FIXED_PINK_FLOOR");
  EXPECT_EQ(gameState.score, 0);
  EXPECT_EQ(gameState.tilesLeft, 4);
  // At the grid's corner the patterns reach outside it: no match, no fault.
  for (int x : {255, 256})
    for (int y : {255, 256}) Place(x, y, "LAB_BLUE_FLOOR");
  FixBlueBlock(256, 256);
  EXPECT_EQ(tileMap.Name(256, 256), "LAB_BLUE_FLOOR");
  FixBlueBlock(255, 255);
  EXPECT_EQ(tileMap.Name(255, 255), "LAB_FIXED_FLOOR");
}

TEST_F(PlayerRules, StepsAgainstWallsAreSilentAndChangeNothing) {
  Place(2, 2, "LAB_FLOOR");
  Place(3, 2, "LAB_WALL");
  player.x = 64;
  player.y = 64;
  PlayerStep(kDirRight);
  EXPECT_FLOAT_EQ(player.x, 64.0f);
  EXPECT_EQ(player.heading, kHeadNone);
  EXPECT_EQ(Starts("step.ogg"), 0);
  Place(2, 1, "LAB_FLOOR");
  PlayerStep(kDirUp);
  EXPECT_FLOAT_EQ(player.y, 32.0f);
  EXPECT_EQ(Starts("step.ogg"), 1);
  // Cells outside the grid are closed.
  player.x = 0;
  player.y = 0;
  Place(0, 0, "LAB_FLOOR");
  PlayerStep(kDirLeft);
  EXPECT_FLOAT_EQ(player.x, 0.0f);
  // Every collision but 0 blocks, a value whose low byte reads as negative too.
  WriteTile("LAB_FENCE", "USECOLLISION\n255\nTRANSPARENCY\n0\n");
  Place(1, PlayerRow(), "LAB_FENCE");
  PlayerStep(kDirRight);
  EXPECT_FLOAT_EQ(player.x, 0.0f);
}

TEST_F(PlayerRules, ScrollingAtTheScreenMiddleAndAtViewZero) {
  for (int x = 0; x < 40; x++)
    for (int y = 0; y < 30; y++) Place(x, y, "LAB_FLOOR");
  struct Case {
    const char* what;
    float x, y, viewX, viewY;
    Direction direction;
    float wantX, wantY, wantViewX, wantViewY;
  };
  const Case cases[] = {
      {"right before the middle moves", 256, 96, 0, 0, kDirRight, 288, 96, 0, 0},
      {"right onto the middle moves", 288, 96, 0, 0, kDirRight, 320, 96, 0, 0},
      {"right past the middle scrolls", 320, 96, 0, 0, kDirRight, 320, 96, 1, 0},
      {"left on the middle line moves", 320, 96, 5, 0, kDirLeft, 288, 96, 5, 0},
      {"left of the middle scrolls", 288, 96, 5, 0, kDirLeft, 288, 96, 4, 0},
      {"left at view 1 moves", 288, 96, 1, 0, kDirLeft, 256, 96, 1, 0},
      {"left at view 0 shifts the picture", 96, 96, 0, 0, kDirLeft, 64, 96, 1, 0},
      {"up on the middle line scrolls", 96, 240, 0, 3, kDirUp, 96, 240, 0, 2},
      {"up below the middle moves", 96, 256, 0, 3, kDirUp, 96, 224, 0, 3},
      {"down past the middle scrolls", 96, 224, 0, 0, kDirDown, 96, 224, 0, 1},
      {"down onto the middle moves", 96, 208, 0, 0, kDirDown, 96, 240, 0, 0},
  };
  for (const Case& c : cases) {
    player.x = c.x;
    player.y = c.y;
    gameState.viewX = c.viewX;
    gameState.viewY = c.viewY;
    const int32_t column = PlayerColumn(), row = PlayerRow();
    PlayerStep(c.direction);
    EXPECT_FLOAT_EQ(player.x, c.wantX) << c.what;
    EXPECT_FLOAT_EQ(player.y, c.wantY) << c.what;
    EXPECT_FLOAT_EQ(gameState.viewX, c.wantViewX) << c.what;
    EXPECT_FLOAT_EQ(gameState.viewY, c.wantViewY) << c.what;
    if (std::string(c.what) == "left at view 0 shifts the picture")
      EXPECT_EQ(PlayerColumn(), column) << "the player stays on its map cell";
    else
      EXPECT_EQ(std::abs(PlayerColumn() - column) + std::abs(PlayerRow() - row), 1) << c.what;
  }
}

TEST_F(PlayerRules, LargeTilesStepTheRightWay) {
  gameState.tileWidth = gameState.tileHeight = 200.0f;
  gameState.screenWidth = 4000.0f;
  Place(0, 0, "LAB_FLOOR");
  Place(1, 0, "LAB_FLOOR");
  PlayerStep(kDirRight);
  EXPECT_FLOAT_EQ(player.x, 200.0f);
}

TEST_F(PlayerRules, PaintingTurnsFloorGreenAndPinkBlueWithASound) {
  struct Case {
    const char* from;
    const char* to;
    int sounds;
  };
  const Case cases[] = {{"LAB_FLOOR", "LAB_BLUE_FLOOR", 1},      {"LAB_GREEN", "LAB_BLUE_FLOOR", 1},
                        {"LAB_PINK_FLOOR", "LAB_BLUE_FLOOR", 1}, {"LAB_BLUE_FLOOR", "LAB_BLUE_FLOOR", 0},
                        {"LAB_FIXED_FLOOR", "LAB_FIXED_FLOOR", 0}, {"LAB_WATER", "LAB_WATER", 0}};
  int x = 0;
  for (const Case& c : cases) {
    Place(x, 0, c.from);
    const int32_t before = Starts("step.ogg");
    PaintCell(x, 0);
    EXPECT_EQ(tileMap.Name(x, 0), c.to) << c.from;
    EXPECT_EQ(Starts("step.ogg") - before, c.sounds) << c.from;
    x += 2;
  }
}

TEST_F(PlayerRules, HardcorePaintBlocksAndAWalledInPlayerLeavesTheGame) {
  settings.GAMEMODE = "HARDCORE";
  SetInputFromReplay(true, false);
  SetReplayKey(0x19, true);  // P held: the title screen returns at once
  Place(5, 5, "LAB_PINK_FLOOR");
  PaintCell(5, 5);
  EXPECT_EQ(tileMap.Find(5, 5)->useCollision, 0);  // pink painted blue does not block
  Place(6, 5, "LAB_FLOOR");
  Place(7, 5, "LAB_FLOOR");
  Place(6, 4, "LAB_WALL");
  Place(6, 6, "LAB_GREEN");
  gameState.inTitle = 0;
  PaintCell(6, 5);
  EXPECT_EQ(tileMap.Find(6, 5)->useCollision, 1);
  EXPECT_EQ(gameState.inTitle, 0);  // (7,5) floor and (6,6) green are open: not trapped
  Place(7, 5, "LAB_BLUE_FLOOR");
  Place(6, 6, "LAB_WALL");
  Place(8, 8, "LAB_FLOOR");
  gameState.level = 4;
  Place(6, 5, "LAB_FLOOR");
  PaintCell(6, 5);
  EXPECT_EQ(gameState.level, 1);  // the title screen ran and set up a new game
  EXPECT_EQ(gameState.builtLevel, -1);
  // The grid's edge closes a side as a wall does.
  gameState.level = 4;
  Place(0, 9, "LAB_FLOOR");
  Place(1, 9, "LAB_WALL");
  Place(0, 8, "LAB_WALL");
  Place(0, 10, "LAB_BLUE_FLOOR");
  PaintCell(0, 9);
  EXPECT_EQ(gameState.level, 1);
  // Once the quit was confirmed, leaving the game ends the program, with status 0.
  gameState.quitRequested = 1;
  Place(6, 5, "LAB_FLOOR");
  EXPECT_EQ(EndStatusOf([] { PaintCell(6, 5); }), 0);
}

}  // namespace
