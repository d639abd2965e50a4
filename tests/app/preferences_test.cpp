// The player's files: the preferences file as the game reads and writes it, hostile ones
// included, where the XDG places are, and the best score's file.
#include "app/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "app/best_score.h"
#include "app/harness.h"
#include "app/user_files.h"
#include "media/input.h"
#include "media/sound.h"
#include "support/temp_dir.h"

namespace {

std::string ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Two preferences are the same when they are written the same.
std::string Written(const Preferences& p) { return FormatPreferences(p); }

// Each file is read with one more line, music-volume = 40, to show that the rest of a spoiled
// file still counts. Hostile files give one line for their problem, naming the line and the
// default taken; the last rows are files that bind keys in ways that are allowed.
TEST(Preferences, EachProblemIsOneLineNamingItsLineAndTheDefaultTaken) {
  using namespace Key;
  const struct {
    const char* what;
    std::string text;
    const char* problem;  // after "prefs.cfg:", or "" for none
    void (*expect)(Preferences&);  // what differs from the defaults besides music-volume 40
  } cases[] = {
      {"binary bytes", std::string("fullscreen = no\n\x01\x02\x00\xff = 3\n", sizeof "fullscreen = no\n\x01\x02\x00\xff = 3\n" - 1),
       "2: the line holds bytes that are not text and is ignored", [](Preferences& p) { p.fullscreen = false; }},
      {"a line of megabytes", "effects-volume = " + std::string(3 << 20, '7') + "\nmute = yes\n",
       "1: a line longer than 4096 bytes is ignored", [](Preferences& p) { p.muted = true; }},
      {"an unknown entry", "colour = blue\n", "1: unknown entry \"colour\" is ignored", [](Preferences&) {}},
      {"a key bound twice", "key.bomb = Space\nkey.pause = space\n",
       "2: key.pause: Space is key.bomb's already (line 1); the default P is used",
       [](Preferences& p) { p.bindings.keys[kActBomb] = {kSpace}; }},
      {"a volume of 900", "effects-volume = 900\n",
       "1: effects-volume \"900\" is not a whole number from 0 to 100; the default 100 is used", [](Preferences&) {}},
      {"no equals sign", "fullscreen no\n", "1: \"fullscreen no\" is not NAME = VALUE and is ignored", [](Preferences&) {}},
      {"neither yes nor no", "fullscreen = maybe\n",
       "1: fullscreen \"maybe\" is not yes or no; the default yes is used", [](Preferences&) {}},
      {"a window of no size", "window-size = 0x0\n",
       "1: window-size \"0x0\" is not auto or WIDTHxHEIGHT from 160x90 to 16384x16384; the default auto is used",
       [](Preferences&) {}},
      {"a key of no name", "key.walk-up = W, Hyperspace\n",
       "1: key.walk-up: \"Hyperspace\" names no key; the default Up is used", [](Preferences&) {}},
      {"an entry given twice", "music-volume = 10\n",
       "2: music-volume was given on line 1 already; this line is ignored", [](Preferences& p) { p.musicVolume = 10; }},
      {"a desktop key", "key.bomb = F11\n", "1: key.bomb: F11 is kept for the full screen; the default Space, A is used",
       [](Preferences&) {}},
      {"a button past 32", "button.bomb = 33\n", "1: button.bomb: \"33\" names no button; the default A is used",
       [](Preferences&) {}},
      {"an action left without a key", "key.walk-left = Escape\n",
       "1: key.walk-left: taking Escape would leave quit without any; the default Left is used", [](Preferences&) {}},
      {"an action given no key", "key.pause =\n", "1: key.pause names nothing, and pause needs one; the default P is used",
       [](Preferences&) {}},
      {"keys swapped", "key.bomb = P\nkey.pause = Space, A\n", "",
       [](Preferences& p) {
         p.bindings.keys[kActBomb] = {kP};
         p.bindings.keys[kActPause] = {kSpace, kA};
       }},
      {"WASD takes A from the bomb, which keeps Space", "key.walk-up = W\nkey.walk-left = a\nKEY.WALK-DOWN = S\nkey.walk-right = D # right\n", "",
       [](Preferences& p) {
         p.bindings.keys[kActWalkUp] = {0x11};
         p.bindings.keys[kActWalkLeft] = {kA};
         p.bindings.keys[kActWalkDown] = {0x1F};
         p.bindings.keys[kActWalkRight] = {kD};
         p.bindings.keys[kActBomb] = {kSpace};
       }},
      {"the level keys switched off, a pad's shoulder bombs", "key.next-level =\nkey.previous-level=\r\nbutton.bomb = LeftShoulder, 12\n", "",
       [](Preferences& p) {
         p.bindings.keys[kActNextLevel] = {};
         p.bindings.keys[kActPreviousLevel] = {};
         p.bindings.buttons[kActBomb] = {5, 12};
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> problems;
    const Preferences read = ParsePreferences(c.text + "music-volume = 40\n", "prefs.cfg", problems);
    if (*c.problem)
      EXPECT_EQ(problems, std::vector<std::string>{std::string("prefs.cfg:") + c.problem});
    else
      EXPECT_EQ(problems, std::vector<std::string>{});
    Preferences expected;
    expected.musicVolume = 40;
    c.expect(expected);
    if (std::string(c.what) == "an entry given twice") expected.musicVolume = 10;
    EXPECT_EQ(Written(read), Written(expected));
  }
}

TEST(Preferences, AFileOfProblemsSaysTheFirstThirtyAndCountsTheRest) {
  std::string text;
  for (int i = 0; i < 100000; i++) text += "nonsense\n";
  std::vector<std::string> problems;
  ParsePreferences(text, "p.cfg", problems);
  ASSERT_EQ(problems.size(), kMostPreferenceProblems + 1);
  EXPECT_EQ(problems.front(), "p.cfg:1: \"nonsense\" is not NAME = VALUE and is ignored");
  EXPECT_EQ(problems.back(), "p.cfg: 99970 more problems are not listed");
}

// What the game writes, it reads back as it was, every entry with a comment above it.
TEST(Preferences, TheWrittenFileReadsBackAsItWasWithACommentAboveEachEntry) {
  Preferences p;
  p.fullscreen = false;
  p.windowWidth = 800;
  p.windowHeight = 450;
  p.musicVolume = 30;
  p.effectsVolume = 0;
  p.muted = true;
  p.bindings.keys[kActWalkUp] = {0x11, Key::kUp};
  p.bindings.keys[kActNextLevel] = {};
  p.bindings.keys[kActChoiceX] = {0x56, 0x4C};  // a key without a name, and Keypad5
  p.bindings.buttons[kActPause] = {10, 32};
  p.bindings.buttons[kActWalkUp] = {kPadInputUp, 11};
  const std::string text = FormatPreferences(p);
  std::vector<std::string> problems;
  EXPECT_EQ(Written(ParsePreferences(text, "p.cfg", problems)), text);
  EXPECT_EQ(problems, std::vector<std::string>{});
  EXPECT_NE(text.find("\nkey.choice-x = 0x56, Keypad5\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nkey.next-level =\n"), std::string::npos) << text;

  std::map<std::string, int> entries;
  std::string previous;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    if (!line.empty() && line[0] != '#') {
      EXPECT_EQ(previous.substr(0, 2), "# ") << line;
      entries[line.substr(0, line.find(' '))]++;
    }
    previous = line;
  }
  EXPECT_EQ(entries.size(), 5u + 2u * kActionCount);
  for (int32_t a = 0; a < kActionCount; a++) {
    EXPECT_EQ(entries[std::string("key.") + kActionInfo[a].name], 1) << kActionInfo[a].name;
    EXPECT_EQ(entries[std::string("button.") + kActionInfo[a].name], 1) << kActionInfo[a].name;
  }
}

// The desktop's keys, one press after another: volumes step by ten, landing on tens, within 0 to
// 100; a volume key brings muted sound back; the mixer and the preferences follow.
TEST(Preferences, VolumeKeysStepTheMixerAndThePreferences) {
  using namespace DesktopKey;
  const struct {
    int32_t key;
    int32_t music, effects;
    bool muted;
  } presses[] = {
      {kMusicUp, 100, 100, false},    {kMusicDown, 90, 100, false},  {kEffectsDown, 90, 90, false},
      {kMute, 90, 90, true},          {kMusicDown, 80, 90, false},   {kMute, 80, 90, true},
      {kMute, 80, 90, false},         {kEffectsUp, 80, 100, false},  {kEffectsUp, 80, 100, false},
      {kReturn, 80, 100, false},      {0x1E, 80, 100, false},
  };
  for (const auto& p : presses) {
    SCOPED_TRACE(&p - presses);
    PressDesktopKey(p.key, false);
    EXPECT_EQ(MusicVolume(), p.music);
    EXPECT_EQ(EffectsVolume(), p.effects);
    EXPECT_EQ(SoundMuted(), p.muted);
    EXPECT_EQ(CurrentPreferences().musicVolume, p.music);
    EXPECT_EQ(CurrentPreferences().effectsVolume, p.effects);
    EXPECT_EQ(CurrentPreferences().muted, p.muted);
  }
  // A volume edited by hand steps to the tens on either side; 0 and 100 hold. The file is read
  // as at start-up, through --config.
  TempDir dir;
  for (const auto& [from, key, to] : {std::tuple{95, kMusicUp, 100}, {95, kMusicDown, 90}, {5, kMusicDown, 0},
                                      {0, kMusicDown, 0}, {0, kMusicUp, 10}}) {
    harnessOptions.configFile = dir.Write("p.cfg", "music-volume = " + std::to_string(from) + "\n");
    LoadPreferences();
    EXPECT_EQ(MusicVolume(), from);
    PressDesktopKey(key, false);
    EXPECT_EQ(MusicVolume(), to) << from;
    EXPECT_NE(ReadBack(dir / "p.cfg").find("\nmusic-volume = " + std::to_string(to) + "\n"), std::string::npos)
        << "the step is saved";
  }
}

TEST(UserFiles, XdgPlacesAreAbsoluteOrUnderHome) {
  const struct {
    const char* value;  // the variable, nullptr unset
    const char* home;
    const char* directory;
  } cases[] = {
      {"/x/config", "/home/ann", "/x/config"},
      {nullptr, "/home/ann", "/home/ann/.config"},
      {"relative/config", "/home/ann/", "/home/ann/.config"},
      {"", "/home/ann", "/home/ann/.config"},
      {nullptr, nullptr, ""},
      {nullptr, "not/absolute", ""},
  };
  for (const auto& c : cases) {
    const auto env = [&](const char* name) -> const char* {
      return std::string(name) == "HOME" ? c.home : std::string(name) == "XDG_CONFIG_HOME" ? c.value : nullptr;
    };
    EXPECT_EQ(XdgDirectory("XDG_CONFIG_HOME", ".config", env), c.directory) << (c.value ? c.value : "unset");
  }
}

TEST(UserFiles, AWholeWriteReplacesTheFileAndLeavesNothingBeside) {
  TempDir dir;
  const std::string path = dir / "a/b/file.cfg";
  std::string error;
  ASSERT_TRUE(WriteWholeFile(path, "one\n", error)) << error;
  ASSERT_TRUE(WriteWholeFile(path, "two\n", error)) << error;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "a/b")) names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"file.cfg"});
  std::vector<std::string> problems;
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::string got;
  ReadLinesBounded(file, 100, [&](int32_t, const std::string& line, bool) { got += line; });
  std::fclose(file);
  EXPECT_EQ(got, "two");
  dir.Write("plain", "x");
  EXPECT_FALSE(WriteWholeFile(dir / "plain/inside.cfg", "x", error)) << "a file where a directory should be";
  EXPECT_FALSE(error.empty());
}

TEST(BestScore, TheFileNamesItsBaseAndIsReadOnlyForIt) {
  const std::string base = "/usr/share/quorvex/labyrinth";
  EXPECT_EQ(BestScoreFileName(base).size(), std::string("best-0123456789abcdef.txt").size());
  EXPECT_NE(BestScoreFileName(base), BestScoreFileName(base + "/"));
  const struct {
    std::string text;
    bool read;
    int32_t best;
  } cases[] = {
      {FormatBestScore(base, 1234), true, 1234},
      {FormatBestScore(base, 2147483647), true, 2147483647},
      {FormatBestScore("/elsewhere", 1234), false, 0},
      {"base = " + base + "\nbest = 99999999999\n", false, 0},
      {"base = " + base + "\nbest = -4\n", false, 0},
      {"base = " + base + "\r\nbest = 77\r\n", true, 77},
      {std::string("\0\0\0", 3), false, 0},
  };
  for (const auto& c : cases) {
    int32_t best = 0;
    EXPECT_EQ(ParseBestScore(c.text, base, best), c.read) << c.text;
    EXPECT_EQ(best, c.best) << c.text;
  }
}

}  // namespace
