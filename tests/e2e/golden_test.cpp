// Recorded games replayed by the real binary: their state dumps, and the small base's
// screenshots, must come out exactly as they were recorded. They guard every change that must
// not alter play (moving code, faster frames, shared media): a difference here is a change of
// the game. When a change of play is intended, QUORVEX_UPDATE_GOLDEN=1 writes the files anew;
// say why in the commit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/game_run.h"

namespace {

const std::string kGolden = std::string(QUORVEX_SOURCE_DIR) + "/tests/e2e/golden/";

struct GoldenCase {
  const char* name;               // golden/NAME.replay is played; golden/NAME.dumps holds the dumps
  const char* base;               // "mini" (MakeMiniBase), or a demo directory under content/
  const char* extraSettings;      // for the mini base
  const char* screen;             // --windowed size
  std::vector<int32_t> dumps;     // frames dumped
  std::vector<int32_t> pictures;  // frames kept as golden/NAME-FRAME.png
};

std::ostream& operator<<(std::ostream& out, const GoldenCase& c) { return out << c.name; }

bool Updating() { return std::getenv("QUORVEX_UPDATE_GOLDEN") != nullptr; }

// Largest difference of one colour channel between two pictures of the same size (-1 otherwise).
int LargestDifference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
  int most = 0;
  for (size_t i = 0; i < a.rgb.size(); i++) most = std::max(most, std::abs(int(a.rgb[i]) - int(b.rgb[i])));
  return most;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ReplayGivesTheRecordedDumpsAndPictures) {
  const GoldenCase& c = GetParam();
  TempDir dir;
  std::string base = std::string(QUORVEX_SOURCE_DIR) + "/content/" + c.base;
  if (std::string(c.base) == "mini") {
    MakeMiniBase(dir, c.extraSettings);
    base = dir.Path();
  }
  std::string options = std::string("--fast --windowed ") + c.screen + " --replay '" + kGolden + c.name + ".replay'";
  int32_t last = 0;
  for (int32_t f : c.dumps) {
    options += " --dump " + std::to_string(f) + ":'" + dir / ("d" + std::to_string(f) + ".json") + "'";
    last = std::max(last, f);
  }
  for (int32_t f : c.pictures) {
    options += " --screenshot " + std::to_string(f) + ":'" + dir / ("s" + std::to_string(f) + ".png") + "'";
    last = std::max(last, f);
  }
  const GameRun run = RunGame(base, options + " --frames " + std::to_string(last + 1), 900);
  ASSERT_EQ(run.status, 0) << run.output;

  std::string dumps;
  for (int32_t f : c.dumps) {
    const std::string dump = ReadFile(dir / ("d" + std::to_string(f) + ".json"));
    dumps += dump.empty() || dump.back() != '\n' ? dump + "\n" : dump;
  }
  const std::string dumpFile = kGolden + c.name + ".dumps";
  if (Updating()) {
    std::ofstream(dumpFile, std::ios::binary) << dumps;
    for (int32_t f : c.pictures)
      std::filesystem::copy_file(dir / ("s" + std::to_string(f) + ".png"),
                                 kGolden + c.name + "-" + std::to_string(f) + ".png",
                                 std::filesystem::copy_options::overwrite_existing);
    GTEST_SKIP() << "golden files of " << c.name << " written";
  }
  std::istringstream expected(ReadFile(dumpFile)), actual(dumps);
  std::string want, got;
  for (int32_t f : c.dumps) {
    std::getline(expected, want);
    std::getline(actual, got);
    EXPECT_TRUE(want == got) << c.name << ": the dump of frame " << f << " differs from " << dumpFile << "\nwant " << want
                             << "\ngot  " << got;
  }
  // Pictures may differ by a unit of rounding where the software renderer blends.
  for (int32_t f : c.pictures) {
    const int most = LargestDifference(ReadPng(kGolden + c.name + "-" + std::to_string(f) + ".png"),
                                       ReadPng(dir / ("s" + std::to_string(f) + ".png")));
    EXPECT_TRUE(most >= 0 && most <= 2) << c.name << ": the picture of frame " << f << " differs (by " << most << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Replays, Golden,
    ::testing::Values(
        GoldenCase{"mini-walk", "mini", "MAXFOE\n3\n", "640x480", {60, 120, 200}, {120, 200}},
        GoldenCase{"demo-level", "labyrinth", "", "640x480", {10, 395, 466}, {}},
        GoldenCase{"demo-bomb", "labyrinth", "", "640x480", {10, 478, 709, 710, 1283, 1348}, {}},
        GoldenCase{"demo-screens", "labyrinth", "", "640x480", {36, 116, 126, 994, 1059, 1134, 1139}, {}},
        GoldenCase{"world-walk", "world", "", "1280x720", {90, 1100}, {}}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) {
      std::string name = info.param.name;
      for (char& ch : name)
        if (ch == '-') ch = '_';
      return name;
    });

}  // namespace
