#include <gtest/gtest.h>

#include "support/game_run.h"

namespace {

const std::string kWorld = std::string(QUORVEX_SOURCE_DIR) + "/content/world";

// The prepared island: shown at start-up, walked over with the arrow keys, the view following,
// and no clock ending the visit.
TEST(World, ThePreparedMapIsShownAndTheViewWalksOverIt) {
  TempDir dir;
  dir.Write("walk.txt", "0 down P\n5 up P\n100 down RIGHT\n700 up RIGHT\n700 down DOWN\n1100 up DOWN\n");
  const GameRun run = RunGame(kWorld, "--fast --windowed 1280x720 --frames 1100 --replay '" + dir / "walk.txt" +
                                          "' --dump 90:'" + dir / "start.json" + "' --dump 1100:'" + dir / "end.json" +
                                          "' --screenshot 1100:'" + dir / "end.png" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const JsonValue start = ReadDump(dir / "start.json");
  const JsonValue end = ReadDump(dir / "end.json");
  EXPECT_GE(end["mapWidth"].Int(), 64);
  EXPECT_GE(end["mapHeight"].Int(), 48);
  EXPECT_EQ(end["tiles"].Size(), static_cast<size_t>(end["mapHeight"].Int() + 1));
  EXPECT_EQ(end["screenState"].Int(), 19);  // the clock never ends the visit
  EXPECT_EQ(end["inTitle"].Int(), 0);
  EXPECT_EQ(start["viewX"].Int(), 0);
  EXPECT_GT(end["viewX"].Int(), 0);  // walking right and then down moved the view
  EXPECT_GT(end["viewY"].Int(), 0);
  EXPECT_GT(end["level"].Int(), start["level"].Int());  // nothing is ever rebuilt: a level per frame

  const Picture picture = ReadPng(dir / "end.png");
  ASSERT_EQ(picture.width, 1280);
  int black = 0, green = 0, blue = 0;
  for (int y = 0; y < picture.height; y += 4)
    for (int x = 0; x < picture.width; x += 4) {
      const uint32_t c = picture.At(x, y);
      const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      black += r + g + b < 30;
      green += g > r + 20 && g > b + 20;
      blue += b > r + 30 && b > g;
    }
  const int samples = (picture.width / 4) * (picture.height / 4);
  EXPECT_LT(black, samples / 10) << "the map should fill the screen";
  EXPECT_GT(green, samples / 20) << "meadows and forest";
  EXPECT_GT(blue, samples / 50) << "sea or river";
}

// World mode draws the player as labyrinth mode does when CURSOR names an image; without one it
// plays on as ever, with nothing drawn for the player. The small base's player is solid green.
TEST(World, ThePlayerIsDrawnWhenCursorNamesAnImage) {
  for (const bool named : {true, false}) {
    SCOPED_TRACE(named ? "CURSOR names the image" : "CURSOR names nothing");
    TempDir dir;
    MakeMiniBase(dir, std::string("USESELFCREATEBASE\n0\nAPPENTRY\nDATA\\\nWORLDREFRESH\n2147483647\n") +
                          (named ? "" : "CURSOR\nDATA\\none.png\n"));
    std::string cells = "small world\n5\n4\n\n\n", values = "small world\n5\n4\n\n\n";
    for (int i = 0; i < 30; i++) {
      cells += "LAB_\nFLO\nOR\n";
      values += "255\n";
    }
    dir.Write("DATA/LAB.ai42", cells);
    dir.Write("DATA/LAB.red", values);
    dir.Write("go.txt", "0 down P\n5 up P\n");
    const GameRun run = RunGame(dir.Path(), "--fast --windowed 640x480 --frames 120 --replay '" + dir / "go.txt" +
                                                "' --screenshot 120:'" + dir / "s.png" + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const Picture picture = ReadPng(dir / "s.png");
    EXPECT_GT(picture.Count(MiniColour::kFloor), 32 * 32 * 20);  // the map is drawn either way
    if (named)
      EXPECT_GT(picture.CountNear(MiniColour::kPlayer, 8), 300);
    else
      EXPECT_EQ(picture.CountNear(MiniColour::kPlayer, 8), 0);
  }
}

}  // namespace
