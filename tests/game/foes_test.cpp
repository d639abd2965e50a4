#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/foes.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/game_fixture.h"
#include "world/tile_map.h"

namespace {

class Foes : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    WriteLabyrinthTiles();
    LoadData();
  }
  // A corridor of floor from column `from` to `to` on row 1, walls around it.
  void Corridor(int from, int to) {
    for (int x = from - 1; x <= to + 1; x++)
      for (int y = 0; y <= 2; y++) PlaceTile(x, y, (y == 1 && x >= from && x <= to) ? "LAB_FLOOR" : "LAB_WALL");
  }
  Foe& Add(int x, int y) {
    Foe foe;
    foe.x = x;
    foe.y = y;
    foe.velocityX = foe.velocityY = 4;
    foe.aiLevel = 1;
    foes.push_back(foe);
    return foes.back();
  }
};

TEST_F(Foes, SubStepsStopPartWayIntoTheLastOpenCell) {
  Corridor(1, 3);
  Foe& foe = Add(64, 32);
  foe.heading = kHeadRight;
  SetCurrentFoe(&foe);
  std::vector<int32_t> seen;
  for (int i = 0; i < 5; i++) {
    FoeContinue();
    seen.push_back(foe.x);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{72, 80, 88, 88, 88}));
  EXPECT_EQ(tileMap.Name(3, 1), "LAB_PINK_FLOOR");  // painted at the last sub-step
  EXPECT_EQ(tileMap.Name(2, 1), "LAB_PINK_FLOOR");
  EXPECT_EQ(tileMap.Name(1, 1), "LAB_FLOOR");
  EXPECT_EQ(FoeColumn(Foe{80}), 2);  // 2.5 rounds to the even 2
  EXPECT_EQ(FoeColumn(Foe{112}), 4);  // 3.5 rounds to 4
}

TEST_F(Foes, AlwaysChoosingFoeShuttlesAtTheCorridorsRightEnd) {
  Corridor(1, 6);
  Foe& foe = Add(32, 32);
  foe.velocityX = 1;
  for (int frame = 0; frame < 5; frame++) FoesFrame();
  EXPECT_EQ(foe.x, 192);  // right every frame until the cell beyond is closed
  EXPECT_EQ(foe.heading, kHeadRight);
  FoesFrame();
  EXPECT_EQ(foe.x, 160);  // then one step left
  EXPECT_EQ(foe.heading, kHeadLeft);
  FoesFrame();
  EXPECT_EQ(foe.x, 192);
  // A collision whose low byte reads as negative closes the cell as a wall does.
  WriteTile("LAB_FENCE", "USECOLLISION\n255\nTRANSPARENCY\n0\n");
  PlaceTile(7, 1, "LAB_FENCE");
  for (int frame = 0; frame < 4; frame++) {
    FoesFrame();
    EXPECT_LE(foe.x, 192);
  }
}

TEST_F(Foes, PaintOnlyFloorGreenAndBlue) {
  const char* names[] = {"LAB_FLOOR", "LAB_GREEN", "LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR", "LAB_FIXED_PINK_FLOOR", "LAB_WATER"};
  const char* after[] = {"LAB_PINK_FLOOR", "LAB_PINK_FLOOR", "LAB_PINK_FLOOR", "LAB_FIXED_FLOOR", "LAB_FIXED_PINK_FLOOR", "LAB_WATER"};
  for (int i = 0; i < 6; i++) {
    PlaceTile(i, 5, names[i]);
    FoeMark(i * 32 + 15, 5 * 32 - 15);
    EXPECT_EQ(tileMap.Name(i, 5), after[i]) << names[i];
  }
  FoeMark(-100000, 99999999);  // far outside the map: nothing
}

TEST_F(Foes, StillFoesTurnAndDrawButNeverMove) {
  Corridor(1, 6);
  struct Case {
    int8_t ai;
    int32_t moveChance, changeDirection, randomMove, velocity;
  };
  const Case cases[] = {{2, 0, 0, 0, 4}, {3, 0, 0, 0, 4}, {4, 0, 0, 0, 4}, {1, -1, 0, 0, 4},
                        {1, 0, -1, 0, 4}, {1, 0, 0, -1, 4}, {1, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    foes.clear();
    Foe& foe = Add(64, 32);
    foe.aiLevel = c.ai;
    foe.moveChance = c.moveChance;
    foe.changeDirection = c.changeDirection;
    foe.randomMove = c.randomMove;
    foe.velocityX = foe.velocityY = c.velocity;
    foe.rotation = 5;
    foe.foeSprite = MakeQuad(-1, 0);
    for (int frame = 0; frame < 20; frame++) FoesFrame();
    EXPECT_EQ(foe.x, 64) << int(c.ai) << " " << c.moveChance << " " << c.changeDirection << " " << c.randomMove;
    EXPECT_EQ(foe.y, 32);
  }
}

TEST_F(Foes, RotationAccumulatesEveryFrame) {
  WriteGraphic("f.png");
  LoadData();
  Foe& foe = Add(64, 32);
  foe.moveChance = -1;
  foe.rotation = 5;
  foe.foeSprite = MakeQuad(-1, LoadImage(-1, dir / "TOPO/f.png"));
  ASSERT_NE(foe.foeSprite, 0);
  for (int frame = 0; frame < 3; frame++) FoesFrame();
  EXPECT_FLOAT_EQ(QuadAccumulatedRotation(foe.foeSprite), 15.0f);
}

TEST_F(Foes, SameSeedSameWalk) {
  for (int x = 0; x < 12; x++)
    for (int y = 0; y < 12; y++) PlaceTile(x, y, (x == 0 || y == 0 || x == 11 || y == 11) ? "LAB_WALL" : "LAB_FLOOR");
  auto walk = [this]() {
    foes.clear();
    Foe& foe = Add(160, 160);
    foe.moveChance = 1;
    foe.changeDirection = 3;
    foe.randomMove = 1;
    RandomSeed(9);
    std::string trail;
    for (int frame = 0; frame < 300; frame++) {
      FoesFrame();
      trail += std::to_string(foes[0].x) + "," + std::to_string(foes[0].y) + ";";
      EXPECT_GE(FoeColumn(foes[0]), 1);
      EXPECT_LE(FoeColumn(foes[0]), 10);
    }
    return trail;
  };
  EXPECT_EQ(walk(), walk());
}

}  // namespace
