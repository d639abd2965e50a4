#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/bombs.h"
#include "game/pickups.h"
#include "game/player.h"
#include "media/probes.h"
#include "media/sound.h"
#include "support/game_fixture.h"
#include "world/tile_map.h"

namespace {

class Pickups : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    WriteLabyrinthTiles();
    WriteSound("ding.ogg");
    WriteSound("tick.ogg");
    settings.TIMERSOUND = "tick.ogg";
    ComputeViewSize();
  }
  // One object on cell (2, 2), from a definition with the given keys, named `child` by its tile
  // in child slot `slot` (1 to 8; the slots before it name nothing).
  void PutObject(const std::string& child, const std::string& keys, int slot = 1) {
    WriteObject("o", "DGFXNAME\n" + child + "\nDDENSITY\n0\nDCOLLISION\n1\nDGFXSHOW\n1\nDGFXTRANSPARENCY\n255\n" + keys);
    std::string children;
    for (int s = 1; s < slot; s++) children += "CHILD" + std::to_string(s) + "\n#\n";
    WriteTile("T", "GFXNAME\nLAB_FLOOR.png\nTRANSPARENCY\n0\n" + children + "CHILD" + std::to_string(slot) + "\n" + child + "\n");
    LoadData();
    PlaceTile(2, 2, "T");
    tileMap.Find(2, 2)->inMap = 1;
  }
  // One frame of the object and player passes with the player on (2, 2).
  void Frame() {
    ObjectsFrame();
    player.x = (2.0f - gameState.viewX) * gameState.tileWidth;
    player.y = (2.0f - gameState.viewY) * gameState.tileHeight;
    PlayerFrame();
  }
  int32_t Starts(const char* name) {
    for (const SoundEntry& s : soundEffects)
      if (s.fileName == name) return SoundStartCount(s.sound);
    return -1;
  }
};

TEST_F(Pickups, InstantScoreIsTakenOnce) {
  for (int slot : {1, 8}) {  // from the first child slot and from the last
    SCOPED_TRACE(slot);
    ResetAllState();
    SetUp();
    PutObject("COIN", "DKILLONCOLLISION\n1\nDSCORE\n50\nDUSECOUNTSOUND\n1\nDCOUNTSOUND\nding.ogg\n", slot);
    Frame();
    Frame();
    EXPECT_EQ(gameState.score, 50);
    EXPECT_EQ(tileMap.Find(2, 2)->childObject[slot - 1], -1);
    EXPECT_EQ(Starts("ding.ogg"), 1);
    EXPECT_EQ(placedObjects.size(), 1u);  // the list only grows
  }
}

TEST_F(Pickups, CountUpObjectsRaiseOnlyTheTarget) {
  gameState.score = 300;
  PutObject("GEM", "DKILLONCOLLISION\n1\nDSCORE\n100\nDCOUNTTOSCORE\n1\n");
  Frame();
  EXPECT_EQ(scoreTarget, 100);
  EXPECT_EQ(gameState.score, 300);
}

TEST_F(Pickups, ObjectsThatStayAreTouchedEveryFrame) {
  PutObject("CLOCK", "DKILLONCOLLISION\n0\nDEXTRATIME\n1\nDUSECOUNTSOUND\n1\nDCOUNTSOUND\nding.ogg\n");
  for (int i = 0; i < 5; i++) Frame();
  EXPECT_EQ(gameState.timeLeft, 5);
  EXPECT_EQ(Starts("ding.ogg"), 5);
  EXPECT_EQ(tileMap.Find(2, 2)->childObject[0], 0);
}

TEST_F(Pickups, BombPickupsStopAtThreeAndStayOnTheCell) {
  PutObject("BOMB", "DKILLONCOLLISION\n1\nDSCORE\n5\n");
  bombStock = "&&&";
  Frame();
  Frame();
  EXPECT_EQ(bombStock, "&&&");
  EXPECT_EQ(tileMap.Find(2, 2)->childObject[0], 0);
  EXPECT_EQ(gameState.score, 10);  // credited again in every frame it is stood on
  bombStock = "&";
  Frame();
  EXPECT_EQ(bombStock, "&&");
  EXPECT_EQ(tileMap.Find(2, 2)->childObject[0], -1);
}

TEST_F(Pickups, HiddenOrPlayerObjectsAreNotDrawnButStillTouchable) {
  PutObject("GHOST", "DGFXSHOW\n0\nDKILLONCOLLISION\n1\nDSCORE\n7\n");
  Frame();
  EXPECT_EQ(gameState.score, 7);
  // An object off screen is not marked; without the mark it is not touched.
  PutObject("COIN", "DKILLONCOLLISION\n1\nDSCORE\n1\n");
  gameState.viewX = 3;
  gameState.score = 0;
  Frame();
  EXPECT_EQ(tileMap.Find(2, 2)->hasContactObjects, 0);
  EXPECT_EQ(gameState.score, 0);
}

TEST_F(Pickups, TimerWarnsInTheLastTenSecondsAndEndsTheGameAtMinusOne) {
  LoadData();
  settings.WORLDREFRESH = 2;  // three frames to a second
  gameState.timeLeft = 12;
  auto second = [] {
    for (int i = 0; i < 3; i++) TimerFrame(-1);
  };
  second();
  EXPECT_EQ(gameState.timeLeft, 11);
  EXPECT_EQ(Starts("tick.ogg"), 0);
  second();
  EXPECT_EQ(Starts("tick.ogg"), 1);
  for (int s = 0; s < 10; s++) second();
  EXPECT_EQ(gameState.timeLeft, 0);
  EXPECT_EQ(Starts("tick.ogg"), 10);
  EXPECT_EQ(gameState.screenState, kScreenPlaying);
  gameState.inTitle = 1;
  second();
  EXPECT_EQ(gameState.screenState, kScreenPlaying);  // never while the title screens run
  gameState.inTitle = 0;
  gameState.timeLeft = 0;
  second();
  EXPECT_EQ(gameState.screenState, kScreenGameOver);
  EXPECT_EQ(gameState.timeLeft, -1);
  TimerFrame(0);  // another direction does nothing
  EXPECT_EQ(gameState.frameTick, 0);
}

}  // namespace
