#include <gtest/gtest.h>

#include "support/game_run.h"

namespace {

// Leaves the title with P (released after the first level's build has started) and then walks.
const char* const kWalk =
    "0 down P\n"
    "6 up P\n"
    "20 down RIGHT\n"
    "60 up RIGHT\n"
    "60 down DOWN\n"
    "100 up DOWN\n"
    "100 down LEFT\n"
    "140 up LEFT\n"
    "140 down SPACE\n"
    "150 up SPACE\n";

TEST(Play, SameReplayGivesIdenticalDumpsAndScreenshots) {
  TempDir dir;
  MakeMiniBase(dir, "MAXFOE\n3\n");
  dir.Write("walk.txt", kWalk);
  std::string runs[2];
  for (int i = 0; i < 2; i++) {
    const std::string n = std::to_string(i);
    const GameRun run = RunGame(dir.Path(), "--fast --windowed 640x480 --frames 200 --replay '" + dir / "walk.txt" +
                                                "' --dump 120:'" + dir / ("d" + n + ".json") + "' --screenshot 200:'" +
                                                dir / ("s" + n + ".png") + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    runs[i] = ReadFile(dir / ("d" + n + ".json")) + ReadFile(dir / ("s" + n + ".png"));
  }
  EXPECT_FALSE(runs[0].empty());
  EXPECT_TRUE(runs[0] == runs[1]) << "two runs of one replay differ";
  const JsonValue dump = ReadDump(dir / "d0.json");
  EXPECT_EQ(dump["frame"].Int(), 120);
  EXPECT_EQ(dump["inTitle"].Int(), 0);
  EXPECT_GT(dump["foes"].Size(), 0u);
}

TEST(Play, FramesOptionEndsTheRunAndScreenshotsShowTheWorld) {
  TempDir dir;
  MakeMiniBase(dir);
  dir.Write("go.txt", "0 down P\n6 up P\n");
  const GameRun run = RunGame(dir.Path(), "--fast --windowed 640x480 --frames 150 --replay '" + dir / "go.txt" +
                                              "' --screenshot 150:'" + dir / "s.png" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const Picture picture = ReadPng(dir / "s.png");
  ASSERT_EQ(picture.width, 640);
  ASSERT_EQ(picture.height, 480);
  EXPECT_GT(picture.Count(MiniColour::kWall), 32 * 32 * 10);
  EXPECT_GT(picture.Count(MiniColour::kPlayer), 100);
  EXPECT_GT(picture.CountNear(MiniColour::kGlyph, 20), 50);  // the heads-up display, drawn at opacity 240
}

}  // namespace
