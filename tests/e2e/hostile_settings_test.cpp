// Broken or hostile settings must never crash or hang the game: each run below plays a few
// hundred frames (under the sanitizers too) and must end normally at its frame limit.
#include <gtest/gtest.h>

#include <png.h>

#include "support/game_run.h"
#include "support/sample_files.h"

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
                                           "GFXCODEC\n", "WINDOWMODE\n0", "USESELFCREATEBASE\n513",
                                           "SCREENSIZE\n16x16", "SCREENSIZE\n4096x16", "SCREENSIZE\nbanana"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return TestName(info.param); });

// A broken or hostile preferences file (--config) gives one line naming its line, and the
// game starts and plays to its last frame as ever.
struct HostilePreferenceFile {
  const char* what;
  std::string (*bytes)();
  const char* line;  // what stderr says after "FILE:"
};

std::ostream& operator<<(std::ostream& out, const HostilePreferenceFile& file) { return out << file.what; }

class HostilePreferences : public ::testing::TestWithParam<HostilePreferenceFile> {};

TEST_P(HostilePreferences, OneLineSaysWhatAndTheGamePlaysOn) {
  TempDir dir;
  MakeMiniBase(dir);
  const std::string config = dir.Write("prefs.cfg", GetParam().bytes());
  dir.Write("walk.txt", "0 down P\n6 up P\n20 down RIGHT\n60 up RIGHT\n");
  const GameRun run = RunGame(dir.Path(), "--fast --windowed 320x240 --frames 100 --config '" + config + "' --replay '" +
                                              dir / "walk.txt" + "'", 240);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, config + ":" + GetParam().line + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostilePreferences,
    ::testing::Values(
        HostilePreferenceFile{"binary", [] { return std::string("\x7f" "ELF\x02\x01\x01\0\0\0\n", 11); },
                              "1: the line holds bytes that are not text and is ignored"},
        HostilePreferenceFile{"megabytes", [] { return "key.bomb = " + std::string(8 << 20, 'A') + "\n"; },
                              "1: a line longer than 4096 bytes is ignored"},
        HostilePreferenceFile{"unknown", [] { return std::string("fullscreen = no\nspeed = 11\n"); },
                              "2: unknown entry \"speed\" is ignored"},
        HostilePreferenceFile{"twice", [] { return std::string("key.bomb = P\n"); },
                              "1: key.bomb: taking P would leave pause without any; the default Space, A is used"},
        HostilePreferenceFile{"boundtwice", [] { return std::string("key.quit = Q\nkey.pause = Q\n"); },
                              "2: key.pause: Q is key.quit's already (line 1); the default P is used"},
        HostilePreferenceFile{"volume", [] { return std::string("music-volume = 900\n"); },
                              "1: music-volume \"900\" is not a whole number from 0 to 100; the default 100 is used"},
        HostilePreferenceFile{"size", [] { return std::string("window-size = 99999x99999\n"); },
                              "1: window-size \"99999x99999\" is not auto or WIDTHxHEIGHT from 160x90 to 16384x16384; "
                              "the default auto is used"},
        HostilePreferenceFile{"yesno", [] { return std::string("fullscreen = 2\n"); },
                              "1: fullscreen \"2\" is not yes or no; the default yes is used"},
        HostilePreferenceFile{"keyname", [] { return std::string("key.walk-up = Hyperspace\n"); },
                              "1: key.walk-up: \"Hyperspace\" names no key; the default Up is used"},
        HostilePreferenceFile{"desktopkey", [] { return std::string("key.bomb = F9\n"); },
                              "1: key.bomb: F9 is kept for muting the sound; the default Space, A is used"}),
    [](const ::testing::TestParamInfo<HostilePreferenceFile>& info) { return std::string(info.param.what); });

}  // namespace

namespace {

// Broken data files: the game runs on with whatever still loads.
struct BrokenFile {
  const char* what;
  const char* path;
  std::string bytes;
  const char* settings = "";          // "KEY\nvalue\n" pairs added to the configuration
  std::string (*make)() = nullptr;  // makes large bytes when the test runs, instead of `bytes`
};

std::ostream& operator<<(std::ostream& out, const BrokenFile& file) { return out << file.what; }

class HostileData : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(HostileData, TheGameStillRunsToItsLastFrame) {
  TempDir dir;
  MakeMiniBase(dir, std::string("MAXFOE\n3\n") + GetParam().settings);
  dir.Write(GetParam().path, GetParam().make ? GetParam().make() : GetParam().bytes);
  dir.Write("walk.txt", "0 down P\n6 up P\n20 down RIGHT\n60 up RIGHT\n60 down DOWN\n100 up DOWN\n");
  const GameRun run = RunGame(dir.Path(), "--fast --windowed 320x240 --frames 200 --replay '" + dir / "walk.txt" + "'", 240);
  EXPECT_EQ(run.status, 0) << GetParam().what << "\n" << run.output;
}

std::string AllBytes() {
  std::string bytes;
  for (int i = 1; i < 256; i++) bytes += static_cast<char>(i);
  return bytes;
}

// A 44-byte WAV whose data chunk claims 2.9 GB.
std::string WavClaimingGigabytes() {
  Bytes wav = MakeWav(1, 22050, 16, {});
  const uint32_t claimed = 2900000000u;
  for (int i = 0; i < 4; i++) wav[40 + i] = static_cast<uint8_t>(claimed >> (8 * i));
  return AsString(wav);
}

// An 8-bit mono WAV of two hours at 1000 Hz (7.2 MB).
std::string HoursOfSound() { return AsString(MakeWav(1, 1000, 8, Bytes(1000 * 60 * 60 * 2, 0x80))); }

// An 8192 x 8192 PNG of one colour: 64 KB on disk, 256 MB decoded.
std::string HugePlainPng() {
  return AsString(EncodePng(8192, 8192, PNG_COLOR_TYPE_PALETTE, 8, Bytes(size_t{8192} * 8192, 0), {200, 40, 40}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileData,
    ::testing::Values(BrokenFile{"a truncated tile graphic", "DATA/TOPO/LAB_FLOOR.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
                      BrokenFile{"a tile graphic that is text", "DATA/TOPO/LAB_WALL.png", "not an image"},
                      BrokenFile{"a tile file of every byte", "DATA/RGB/LAB/LAB_FLOOR", AllBytes()},
                      BrokenFile{"children everywhere", "DATA/RGB/LAB/LAB_WALL",
                                 "TRANSPARENCY\n0\nUSECOLLISION\n1\nCHILD8\nCOIN\nCHILD1\nBOMB\nCHILD9\nCOIN\n"},
                      BrokenFile{"a font list of every byte", "DATA/FONT/chars.txt", AllBytes()},
                      BrokenFile{"a definition of every byte", "DATA/OBJ/coin.dll", AllBytes()},
                      BrokenFile{"a huge base", "DATA/base.txt", "x\n99999999\n-99999999\n"},
                      BrokenFile{"an empty base", "DATA/base.txt", ""},
                      BrokenFile{"a player image that is no image", "DATA/player.png", AllBytes()},
                      BrokenFile{"music that is no music", "DATA/MUSIC/tune.ogg", AllBytes()},
                      BrokenFile{"a WAV whose data chunk claims 2.9 GB", "DATA/SFX/claims.ogg", WavClaimingGigabytes()},
                      BrokenFile{"two hours of 8-bit sound at 1000 Hz", "DATA/SFX/hours.ogg", "", "", HoursOfSound},
                      BrokenFile{"an 8192 x 8192 floating image 51 times", "DATA/EFX/huge.png", "",
                                 "EGFXPATH\nDATA\\EFX\\\nEGFXMAX\n50\n", HugePlainPng}),
    [](const ::testing::TestParamInfo<BrokenFile>& info) { return TestName(info.param.what); });

}  // namespace
