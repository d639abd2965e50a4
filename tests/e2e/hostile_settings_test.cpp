// Broken or hostile settings must never crash or hang the game: each run below plays a few
// hundred frames (under the sanitizers too) and must end normally at its frame limit.
#include <gtest/gtest.h>

#include "support/game_run.h"

namespace {

class HostileSettings : public ::testing::TestWithParam<const char*> {};

TEST_P(HostileSettings, TheGameStillRunsToItsLastFrame) {
  TempDir dir;
  MakeMiniBase(dir, std::string(GetParam()) + "\nMAXFOE\n3\nEGFXMAX\n2\nSCREGFXMAX\n2\nEGFXPATH\nDATA\\OBJ\\\n");
  dir.Write("walk.txt", "0 down P\n6 up P\n20 down RIGHT\n60 up RIGHT\n60 down DOWN\n100 up DOWN\n110 down SPACE\n"
                        "120 up SPACE\n130 down PGUP\n131 up PGUP\n");
  const GameRun run = RunGame(dir.Path(), "--fast --windowed 320x240 --frames 300 --replay '" + dir / "walk.txt" + "'", 240);
  EXPECT_EQ(run.status, 0) << GetParam() << "\n" << run.output;
}

INSTANTIATE_TEST_SUITE_P(Values, HostileSettings,
                         ::testing::Values("RESOLUTION\n0", "RESOLUTION\n-32", "RESOLUTION\n1e30", "RESOLUTION\nnan",
                                           "RESOLUTION\n3", "MAPSIZE\n-5", "MAPSIZE\n100000", "CURSORSPEED\n99999",
                                           "EGFXMAX\n2147483647", "RESBASEW\n0", "RESBASEW\n-100",
                                           "FULLSCREENZOOM\n1e9", "FULLSCREENZOOM\n-1", "FULLSCREENZOOM\nnan",
                                           "FULLSCREENZOOM\n0", "WORLDREFRESH\n-5", "MULTITASK\n2147483647",
                                           "LABSWITCH\n-2147483648", "WORLDRANDOM\n-2147483648",
                                           "GFXCODEC\n", "WINDOWMODE\n0", "USESELFCREATEBASE\n513"));

}  // namespace
