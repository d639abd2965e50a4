#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/game_run.h"

namespace {

// Leaves the title with P (released after the first level's build has started), walks, fires,
// leaves the window (the pause screen opens) and taps X within a frame to go on.
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
    "150 up SPACE\n"
    "155 window focus-lost\n"
    "160 down X\n"
    "160 up X\n";

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

TEST(Play, ARecordingReplaysToTheSameGame) {
  TempDir dir;
  MakeMiniBase(dir, "MAXFOE\n2\n");
  dir.Write("walk.txt", kWalk);
  const std::string common = "--fast --windowed 320x240 --frames 180 --dump 180:";
  GameRun run = RunGame(dir.Path(), common + "'" + dir / "a.json" + "' --replay '" + dir / "walk.txt" + "' --record '" +
                                        dir / "recorded.txt" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string recorded = ReadFile(dir / "recorded.txt");
  EXPECT_NE(recorded.find("0 down P"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("20 down RIGHT"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("155 window focus-lost\n160 down X\n160 up X\n"), std::string::npos) << recorded;
  run = RunGame(dir.Path(), common + "'" + dir / "b.json" + "' --replay '" + dir / "recorded.txt" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadFile(dir / "a.json"), ReadFile(dir / "b.json"));
}

// Leaving the window and quick taps, as a player does them. The first frames are the credits
// (1 to 3) and the title (from 4); play runs by frame 30. A paused game's clock stands still from
// the event (its dump) until X lets play go on (the dump after it moves).
TEST(Play, LeavingTheWindowPausesPlayAndATapBetweenFramesIsNotLost) {
  const struct {
    const char* what;
    const char* replay;
    bool paused;  // the clock stands still from frame 40 to frame 100, X at 100 goes on
  } cases[] = {
      {"focus lost in play", "0 down P\n6 up P\n40 window focus-lost\n60 window focus-gained\n100 down X\n100 up X\n", true},
      {"minimised in play", "0 down P\n6 up P\n40 window minimized\n70 window restored\n100 down X\n101 up X\n", true},
      {"focus lost on the title", "10 window focus-lost\n12 down P\n14 up P\n100 down X\n100 up X\n", false},
      {"P tapped within a frame leaves the title", "10 down P\n10 up P\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    MakeMiniBase(dir);
    dir.Write("go.txt", c.replay);
    std::string options = "--fast --windowed 320x240 --frames 101 --replay '" + dir / "go.txt" + "' --screenshot 80:'" +
                          dir / "s.png" + "'";
    for (const int frame : {40, 100, 101}) options += " --dump " + std::to_string(frame) + ":'" + dir / std::to_string(frame) + "'";
    const GameRun run = RunGame(dir.Path(), options);
    ASSERT_EQ(run.status, 0) << run.output;
    const JsonValue at40 = ReadDump(dir / "40"), at100 = ReadDump(dir / "100"), at101 = ReadDump(dir / "101");
    EXPECT_EQ(at40["inTitle"].Int(), 0);
    auto clock = [](const JsonValue& dump) { return dump["timeLeft"].Int() * 1000 + dump["frameTick"].Int(); };
    EXPECT_EQ(clock(at40) == clock(at100), c.paused) << clock(at40) << " at 40, " << clock(at100) << " at 100";
    EXPECT_NE(clock(at100), clock(at101)) << "play goes on";
    // The pause screen's texts are drawn opaque; in play the display is drawn at 240.
    EXPECT_EQ(ReadPng(dir / "s.png").Count(MiniColour::kGlyph) > 0, c.paused);
  }
}

TEST(Play, BadReplaysAreRefusedWithTheLine) {
  TempDir dir;
  MakeMiniBase(dir);
  const struct {
    const char* replay;
    const char* said;
  } cases[] = {
      {"# a comment\n\n0 down P\n5 sideways P\n", "replay line 4"},
      {"3 down F13\n", "unknown key F13"},
      {"3 window focus-lost\n4 window closed\n", "replay line 2"},
      {"3 window\n", "replay line 1"},
  };
  for (const auto& c : cases) {
    dir.Write("bad.txt", c.replay);
    const GameRun run = RunGame(dir.Path(), "--fast --replay '" + dir / "bad.txt" + "'");
    EXPECT_EQ(run.status, 2) << c.replay;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
  }
}

TEST(Play, StopSignalsEndTheProgramCleanly) {
  TempDir dir;
  MakeMiniBase(dir);
  dir.Write("go.txt", "0 down P\n6 up P\n");
  for (const char* signal : {"INT", "TERM"}) {
    // The game runs paced (about 61 frames a second) until the signal arrives. The signal goes
    // to timeout, which passes it on once (--foreground: without it, timeout also signals its
    // whole process group, and the game would see a second signal and end at once).
    std::string output;
    const int status = RunCommand("cd '" + dir.Path() + "' && SDL_AUDIODRIVER=dummy timeout --foreground 60 " QUORVEX_BINARY
                                  " --windowed 320x240 --replay go.txt --frames 100000 & pid=$!; sleep 2; kill -" +
                                      std::string(signal) + " $pid; wait $pid",
                                  output);
    EXPECT_EQ(status, 0) << signal << ": " << output;
  }
}

// A second stop signal ends the program at once, whatever it is doing. The game is stopped while
// both arrive, as a game stuck in a long load would be: the first only asks for the end after
// the next frame, the second (delivered right after it) ends the program there and then, by
// the signal's own default action.
TEST(Play, ASecondStopSignalEndsTheProgramAtOnce) {
  TempDir dir;
  MakeMiniBase(dir);
  std::string output;
  const int status = RunCommand("cd '" + dir.Path() + "' && SDL_AUDIODRIVER=dummy " QUORVEX_BINARY
                                " --windowed 320x240 --frames 1000 & pid=$!; sleep 2; kill -STOP $pid; kill -INT $pid;"
                                " kill -TERM $pid; kill -CONT $pid; wait $pid",
                                output);
  // Killed by whichever of the two came second (their order of delivery is the kernel's).
  EXPECT_TRUE(status == 128 + 2 || status == 128 + 15) << "exit status " << status << "\n" << output;
}

// The preferences file: a run that names one with --config writes it when the player switches to
// a window (Alt+Enter) and lowers the music (F5), the next run reads it back and starts in that
// window, and an option on the command line wins for its run without being written.
TEST(Preferences, AChangeIsWrittenAndTheNextStartReadsItBack) {
  TempDir dir;
  MakeMiniBase(dir);
  const std::string config = dir / "config/quorvex/quorvex.cfg";
  const std::string options = "--fast --frames 40 --config '" + config + "' --replay '";
  dir.Write("switch.txt", "10 down 0x38\n10 down 0x1C\n11 up 0x1C\n11 up 0x38\n20 down 0x3F\n21 up 0x3F\n");
  dir.Write("music.txt", "20 down 0x3F\n21 up 0x3F\n");
  dir.Write("effects.txt", "20 down 0x41\n21 up 0x41\n");
  auto entry = [](const std::string& text, const std::string& name) {
    const size_t at = text.find("\n" + name + " = ");
    return at == std::string::npos ? std::string("(none)") : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
  };

  GameRun run = RunGame(dir.Path(), options + dir / "switch.txt" + "' --screenshot 5:'" + dir / "full.png" +
                                        "' --screenshot 30:'" + dir / "window.png" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  std::string written = ReadFile(config);
  EXPECT_EQ(entry(written, "fullscreen"), "fullscreen = no") << written;
  EXPECT_EQ(entry(written, "music-volume"), "music-volume = 90") << written;
  EXPECT_EQ(entry(written, "effects-volume"), "effects-volume = 100") << written;
  const Picture full = ReadPng(dir / "full.png"), window = ReadPng(dir / "window.png");
  EXPECT_LT(window.width * window.height, full.width * full.height) << "the window is smaller than the display";
  EXPECT_EQ(full.Count(0xFFFFFF), 0);
  EXPECT_GT(window.Count(0xFFFFFF), 100) << "the music's notice, in white over the title";

  run = RunGame(dir.Path(), options + dir / "music.txt" + "' --screenshot 5:'" + dir / "again.png" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const Picture again = ReadPng(dir / "again.png");
  EXPECT_EQ(again.width, window.width) << "the next start opens the window it was left in";
  EXPECT_EQ(again.height, window.height);
  written = ReadFile(config);
  EXPECT_EQ(entry(written, "music-volume"), "music-volume = 80") << "lowered from the 90 read back";
  EXPECT_EQ(run.output, "") << "a file the game wrote reads without a problem";

  run = RunGame(dir.Path(), "--fullscreen " + options + dir / "effects.txt" + "' --screenshot 5:'" + dir / "option.png" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const Picture option = ReadPng(dir / "option.png");
  EXPECT_EQ(option.width, full.width) << "--fullscreen wins over the file";
  written = ReadFile(config);
  EXPECT_EQ(entry(written, "fullscreen"), "fullscreen = no") << "and is not written into it";
  EXPECT_EQ(entry(written, "effects-volume"), "effects-volume = 90");
  EXPECT_EQ(entry(written, "music-volume"), "music-volume = 80");
}

// The best score: with --state, a game over that beats it says so and keeps it, and the next
// title screen shows it under its lines; without --state nothing is kept or shown. The demo's
// golden game that finishes its first level scores; then Escape and B end it.
TEST(BestScore, AGameOverKeepsItAndTheTitleShowsIt) {
  TempDir dir;
  const std::string base = std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth";
  const std::string state = dir / "state";
  dir.Write("quit.txt", ReadFile(std::string(QUORVEX_SOURCE_DIR) + "/tests/e2e/golden/demo-level.replay") +
                            "470 down ESCAPE\n471 up ESCAPE\n480 down B\n481 up B\n");
  auto play = [&](const std::string& options, const std::string& name) {
    const GameRun run = RunGame(base, "--fast --windowed 640x480 --frames 700 --replay '" + dir / "quit.txt" + "' --dump 466:'" +
                                          dir / (name + ".json") + "' --screenshot 490:'" + dir / (name + ".png") + "' " + options);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
  };
  play("--state '" + state + "'", "kept");
  play("", "plain");
  const JsonValue dump = ReadDump(dir / "kept.json");
  const int score = std::max(dump["score"].Int(), dump["scoreTarget"].Int());
  ASSERT_GT(score, 0) << "the level scores";
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(state)) files.push_back(e.path().filename());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].substr(0, 5), "best-");
  const std::string kept = ReadFile(state + "/" + files[0]);
  EXPECT_NE(kept.find("\nbest = " + std::to_string(score) + "\n"), std::string::npos) << kept;
  EXPECT_NE(kept.find("\nbase = " + std::filesystem::canonical(base).string() + "\n"), std::string::npos) << kept;

  // Pixels that differ between two pictures, above and below a line at `split` of the height.
  auto differences = [](const Picture& a, const Picture& b, double split, int& above, int& below) {
    above = below = 0;
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    for (int y = 0; y < a.height; y++)
      for (int x = 0; x < a.width; x++)
        if (a.At(x, y) != b.At(x, y)) (y < a.height * split ? above : below)++;
  };
  int above = 0, below = 0;
  differences(ReadPng(dir / "kept.png"), ReadPng(dir / "plain.png"), 0.5, above, below);
  EXPECT_GT(below, 200) << "the game-over screen says the best was beaten, under GAME OVER";

  // The next title screen, with and without the store: only its lowest lines differ.
  for (const char* name : {"title-kept", "title-plain"}) {
    const std::string options = std::string(name) == "title-kept" ? "--state '" + state + "' " : "";
    const GameRun run =
        RunGame(base, "--fast --windowed 640x480 --frames 20 " + options + "--screenshot 15:'" + dir / name + ".png'");
    EXPECT_EQ(run.status, 0) << run.output;
  }
  // The window letterboxes the picture: its lowest lines sit below 70 % of the window.
  differences(ReadPng(dir / "title-kept.png"), ReadPng(dir / "title-plain.png"), 0.7, above, below);
  EXPECT_EQ(above, 0);
  EXPECT_GT(below, 100) << "the best score under the title's lines";
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
