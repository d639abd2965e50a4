#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "support/temp_dir.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    baseDirectory = "/base/";
  }
  // Reads the pairs as a configuration file would give them.
  bool Read(const std::string& text) { return ReadSettingsFile(dir_.Write("DATA/ini.txt", text)); }
  TempDir dir_;
};

TEST_F(SettingsTest, DefaultsHoldWhenKeysAreAbsent) {
  ASSERT_TRUE(Read("UNKNOWN\nvalue\n"));
  EXPECT_EQ(settings.EGFXMAX, 50);
  EXPECT_EQ(settings.SCREGFXMAX, 50);
  EXPECT_FLOAT_EQ(settings.RESOLUTION, -1.0f);
  EXPECT_FLOAT_EQ(settings.FULLSCREENZOOM, 1.0f);
  EXPECT_EQ(settings.RESBASEW, 1);
  EXPECT_EQ(settings.CURSORSPEED, 0);  // the threshold without the key is 0, not 255
  EXPECT_EQ(settings.MAPSIZE, 1);
  EXPECT_EQ(settings.WORLDREFRESH, 60);
  EXPECT_EQ(settings.SMOOTH, 1);
  EXPECT_EQ(settings.GAMEMODE, "DEFAULT");
  EXPECT_EQ(gameState.drawWorld, 0);
  EXPECT_FLOAT_EQ(gameState.tileWidth, -1.0f);
}

TEST_F(SettingsTest, ValuesAreConvertedByKind) {
  ASSERT_TRUE(Read("SOUNDFXPATH\nDATA\\SFX\\\nINGAMEMUSIC\nDATA\\MUSIC\\\nMAXFOE\n  -12abc\n"
                   "USEEXTENDEDTOPO\n257\nSMOOTH\n256\nFULLSCREENZOOM\n0.5e0x\nAPPNAME\n  Quorvex \n"));
  EXPECT_EQ(settings.SOUNDFXPATH, "/base/DATA\\SFX\\");  // paths join the base directory as they stand
  EXPECT_EQ(settings.INGAMEMUSIC, "DATA\\MUSIC\\");      // texts stay as written
  EXPECT_EQ(settings.MAXFOE, -12);
  EXPECT_EQ(settings.USEEXTENDEDTOPO, 1);
  EXPECT_EQ(settings.SMOOTH, 0);
  EXPECT_FLOAT_EQ(settings.FULLSCREENZOOM, 0.5f);
  EXPECT_EQ(settings.APPNAME, "  Quorvex ");
}

TEST_F(SettingsTest, SpecialKeysFollowTheirRules) {
  struct Case {
    const char* file;
    float tile;
    int32_t mapSize;
    int32_t threshold;
  };
  const Case cases[] = {
      {"RESOLUTION\n32x32\n", 32.0f, 1, 0},
      {"RESOLUTION\nabc\n", 0.0f, 1, 0},
      {"MAPSIZE\n2000\n", -1.0f, 1024, 0},
      {"MAPSIZE\n-5\n", -1.0f, 32, 0},
      {"MAPSIZE\n0\n", -1.0f, 0, 0},
      {"CURSORSPEED\n300\n", -1.0f, 1, 0},
      {"CURSORSPEED\n-7\n", -1.0f, 1, 255},
      {"CURSORSPEED\n250\n", -1.0f, 1, 5},
  };
  for (const Case& c : cases) {
    ResetAllState();  // each case from the defaults
    SetUp();
    ASSERT_TRUE(Read(c.file));
    EXPECT_FLOAT_EQ(gameState.tileWidth, c.tile) << c.file;
    EXPECT_FLOAT_EQ(gameState.tileHeight, c.tile) << c.file;
    EXPECT_EQ(settings.MAPSIZE, c.mapSize) << c.file;
    EXPECT_EQ(settings.CURSORSPEED, c.threshold) << c.file;
  }
}

TEST_F(SettingsTest, LaterKeysWinAndBothWorldFlagsShareOneValue) {
  ASSERT_TRUE(Read("WINDOWMODE\n1\nMAXFOE\n3\nUSESPRITE3D\n0\nMAXFOE\n9\n"));
  EXPECT_EQ(gameState.drawWorld, 0);
  EXPECT_EQ(settings.MAXFOE, 9);
  ASSERT_TRUE(Read("USESPRITE3D\n0\nWINDOWMODE\n1\n"));
  EXPECT_EQ(gameState.drawWorld, 1);
}

TEST_F(SettingsTest, KeysMatchOnlyWholeAndCaseSensitive) {
  ASSERT_TRUE(Read("MAPSIZE \n50\nmapsize\n60\n MAPSIZE\n70\n"));
  EXPECT_EQ(settings.MAPSIZE, 1);
}

TEST_F(SettingsTest, PairsOutOfStepMisassignSilently) {
  // A missing value line shifts every later pair: "MAXFOE" becomes APPNAME's value.
  ASSERT_TRUE(Read("APPNAME\nMAXFOE\n7\nRESBASEW\n1280\n"));
  EXPECT_EQ(settings.APPNAME, "MAXFOE");
  EXPECT_EQ(settings.MAXFOE, 0);
  EXPECT_EQ(settings.RESBASEW, 1);
}

TEST_F(SettingsTest, KeyOnTheLastLineGetsAnEmptyValue) {
  ASSERT_TRUE(Read("MAXFOE\n4\nRESBASEW"));
  EXPECT_EQ(settings.MAXFOE, 4);
  EXPECT_EQ(settings.RESBASEW, 0);
}

// What the data checker is told of a reading: every pair with its lines, in the file's order,
// whether it was stored, and whether the file held its value line.
TEST_F(SettingsTest, AWatcherIsToldOfEveryPairWithItsLines) {
  struct Seen : LinePairWatcher {
    void Pair(const LinePair& pair, bool stored) override {
      lines.push_back(pair.key + "=" + pair.value + " " + std::to_string(pair.keyLine) + "/" + std::to_string(pair.valueLine) +
                      (stored ? " stored" : " skipped") + (pair.hasValue ? "" : " no value"));
    }
    std::vector<std::string> lines;
  } seen;
  ASSERT_TRUE(ReadSettingsFile(dir_.Write("DATA/ini.txt", "MAPSIZE\r\n50\r\nMAPSIZE \r\n60\rMAXFOE\n\nRESBASEW"), &seen));
  const std::vector<std::string> expected = {"MAPSIZE=50 1/2 stored", "MAPSIZE =60 3/4 skipped", "MAXFOE= 5/6 stored",
                                             "RESBASEW= 7/8 stored no value"};
  EXPECT_EQ(seen.lines, expected);
  EXPECT_EQ(settings.MAPSIZE, 50);
}

TEST_F(SettingsTest, SelectingLabyrinthModeUsesTheLowByte) {
  ASSERT_TRUE(Read("USESELFCREATEBASE\n257\n"));
  EXPECT_EQ(settings.USESELFCREATEBASE, 1);
  ASSERT_TRUE(Read("USESELFCREATEBASE\n256\n"));
  EXPECT_EQ(settings.USESELFCREATEBASE, 0);
}

TEST_F(SettingsTest, WorldRandomSeedsAtOnceAndTheLastSeedDecides) {
  ASSERT_TRUE(Read("WORLDRANDOM\n5\nWORLDRANDOM\n1\n"));
  EXPECT_EQ(settings.WORLDRANDOM, 1);
  EXPECT_EQ(Random(99), 72);  // the first draw after seed 1
}

TEST_F(SettingsTest, StoredButUnusedKeysAreKept) {
  ASSERT_TRUE(Read("LOGFILE\nlog.txt\nMULTICORE\n4\nMENUMUSIC\nmenu.ogg\n"));
  EXPECT_EQ(settings.LOGFILE, "log.txt");
  EXPECT_EQ(settings.MULTICORE, "4");
  EXPECT_EQ(settings.MENUMUSIC, "menu.ogg");
}

TEST(ScreenSize, WidthByHeightWithinLimitsElseNothing) {
  const struct {
    const char* text;
    bool valid;
    int32_t width, height;
  } cases[] = {
      {"1280x720", true, 1280, 720},   {" 640 X 360 ", true, 640, 360}, {"16x16", true, 16, 16},
      {"8192x8192", true, 8192, 8192}, {"15x720", false, 0, 0},        {"1280x8193", false, 0, 0},
      {"001280x000720", true, 1280, 720}, {"0001280x720", false, 0, 0},  // six digits at most
      {"1280", false, 0, 0},           {"1280x", false, 0, 0},          {"x720", false, 0, 0},
      {"1280x720x3", false, 0, 0},     {"-1280x720", false, 0, 0},      {"1280.5x720", false, 0, 0},
      {"99999999999x720", false, 0, 0}, {"", false, 0, 0},              {"1280*720", false, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t width = 0, height = 0;
    EXPECT_EQ(ParseScreenSize(c.text, width, height), c.valid) << "'" << c.text << "'";
    EXPECT_EQ(width, c.width) << "'" << c.text << "'";
    EXPECT_EQ(height, c.height) << "'" << c.text << "'";
  }
}

TEST_F(SettingsTest, MissingFileIsReported) { EXPECT_FALSE(ReadSettingsFile(dir_ / "nothing/ini.txt")); }

}  // namespace
