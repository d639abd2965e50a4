// The test bot, which records the demo's golden games: it plays a scenario from inside the game
// and writes the keys it pressed. Its level scenario must record exactly the golden game
// demo-level: the same keys at the same frames, and its own state at every moment it noted equal
// to the golden dumps, which the real binary gives from that replay (golden_test.cpp). So the bot
// still plays, and what it records replays as the game it played.
#include <gtest/gtest.h>

#include <sstream>

#include "support/game_run.h"

namespace {

const std::string kLabyrinth = std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth";

TEST(Bot, RecordsTheGoldenGameOfItsLevelScenario) {
  TempDir dir;
  std::string output;
  const int status = RunCommand("SDL_AUDIODRIVER=dummy timeout 900 " QUORVEX_BOT " level '" + dir.Path() + "' --data '" +
                                    kLabyrinth + "' --fast --windowed 640x480 --frames 40000",
                                output);
  ASSERT_EQ(status, 0) << output;
  EXPECT_TRUE(ReadFile(dir / "replay.txt") == ReadFile(kGolden + "demo-level.replay"))
      << "the bot's keys differ from golden/demo-level.replay";
  std::istringstream notes(ReadFile(dir / "notes.txt")), golden(ReadFile(kGolden + "demo-level.dumps"));
  int32_t frame = 0;
  std::string label, want;
  int moments = 0;
  while (notes >> frame >> label) {
    moments++;
    std::getline(golden, want);
    std::string got = ReadFile(dir / ("bot-" + label + ".json"));
    if (!got.empty() && got.back() == '\n') got.pop_back();
    EXPECT_TRUE(got == want) << "the bot's game at " << label << " (frame " << frame << ") differs from the golden dump"
                             << "\nwant " << want << "\ngot  " << got;
  }
  EXPECT_EQ(moments, 3) << "the bot did not finish the level";
}

}  // namespace
