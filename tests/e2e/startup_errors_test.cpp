#include <gtest/gtest.h>

#include <algorithm>

#include "support/game_run.h"
#include "support/temp_dir.h"

namespace {

TEST(StartupErrors, WithoutADisplayOneLineSaysSoAndNothingElseIsHeard) {
  TempDir dir;
  std::string output;
  // No sound driver is chosen for it: the sound library must not get to speak.
  const int status = RunCommand("cd '" + dir.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER timeout 20 " QUORVEX_BINARY, output);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output, "quorvex: no display found: DISPLAY and WAYLAND_DISPLAY are unset\n");
}

// The message names every place the configuration was looked for, and the option to name one.
TEST(StartupErrors, EmptyDirectoryReportsTheMissingConfigurationAndExitsWithOne) {
  TempDir dir;
  std::string output;
  // Installed data is looked for in XDG_DATA_HOME, XDG_DATA_DIRS and beside the program; none holds any.
  const int status = RunCommand("cd '" + dir.Path() + "' && env XDG_DATA_HOME='" + dir / "home" + "' XDG_DATA_DIRS='" +
                                    dir / "a" + ":" + dir / "b" + "' SDL_AUDIODRIVER=dummy timeout 20 " QUORVEX_BINARY " --fast",
                                output);
  EXPECT_EQ(status, 1);
  for (const std::string& place : {dir.Path() + "/ (the current directory)", dir / "home/quorvex/labyrinth/",
                                   dir / "a/quorvex/labyrinth/", dir / "b/quorvex/labyrinth/", std::string("beside the program"),
                                   std::string("--data DIR")})
    EXPECT_NE(output.find(place), std::string::npos) << place << " is not named in:\n" << output;
}

TEST(StartupErrors, DataOptionChangesIntoTheBaseDirectory) {
  TempDir dir;
  std::string output;
  const int status = RunCommand("timeout 20 " QUORVEX_BINARY " --fast --data '" + dir.Path() + "'", output);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find(" Could not open " + dir.Path() + "/DATA/ini.txt"), std::string::npos) << output;
}

TEST(StartupErrors, MissingMapFilesAreReportedAfterTheTitleScreen) {
  struct Case {
    const char* settings;
    std::string message;
  };
  TempDir dir;
  const Case cases[] = {
      {"USESELFCREATEBASE\n0\nAPPENTRY\nDATA\\MAPS\\\nAPPSTART\nNONE\n", " Could not open topographic data"},
      {"SELFCREATEBASE\nDATA\\missing.txt\n", " Could not open:" + dir.Path() + "/DATA/missing.txt"},
  };
  for (const Case& c : cases) {
    MakeMiniBase(dir, c.settings);
    dir.Write("go.txt", "0 down P\n");
    const GameRun run = RunGame(dir.Path(), "--fast --windowed 320x240 --replay '" + dir / "go.txt" + "' --screenshot 4:'" +
                                                dir / "title.png" + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_FALSE(ReadFile(dir / "title.png").empty()) << "the title screen comes first";
  }
}

TEST(StartupErrors, BadOptionsAreRefusedWithUsage) {
  std::string output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --window --fullscreen", output), 2);
  EXPECT_NE(output.find("give one"), std::string::npos) << output;
  EXPECT_NE(output.find("quorvex --help"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --frames 0", output), 2);
  EXPECT_NE(output.find("--frames takes a positive number"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --bogus", output), 2);
  EXPECT_NE(output.find("unknown option --bogus"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --windowed 12", output), 2);
}

// Help and version answer without a display or data, and the help names every option.
TEST(CommandLine, HelpAndVersionAnswerAndExitWithZero) {
  std::string output;
  EXPECT_EQ(RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY " QUORVEX_BINARY " --version", output), 0);
  EXPECT_EQ(output.rfind("quorvex ", 0), 0u) << output;
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
  EXPECT_EQ(RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY " QUORVEX_BINARY " --help", output), 0);
  for (const char* option : {"--fullscreen", "--window ", "--world", "--data DIR", "--check", "--help", "--version", "--windowed WxH", "--fast",
                             "--frames N", "--replay FILE", "--record FILE", "--screenshot N:FILE", "--dump N:FILE", "Alt+Enter",
                             "--config FILE", "--state DIR", "F5 and F6", "F7 and F8", "F9 mutes", "key.ACTION", "choice-b"})
    EXPECT_NE(output.find(option), std::string::npos) << option << " is not in the help";
  EXPECT_LT(output.find("Playing:"), output.find("Testing and bug reports:"));
}

// The harness's files are named relative to where the program was started, not to the data.
TEST(CommandLine, HarnessFilesAreRelativeToTheStartingDirectory) {
  TempDir base, here;
  MakeMiniBase(base);
  here.Write("go.txt", "0 down P\n6 up P\n10 down 0x3F\n11 up 0x3F\n");  // F5 saves the preferences
  std::string output;
  const int status = RunCommand("cd '" + here.Path() + "' && SDL_AUDIODRIVER=dummy timeout 60 " QUORVEX_BINARY " --data '" + base.Path() +
                                    "' --fast --windowed 320x240 --frames 20 --replay go.txt --record rec.txt --dump 20:d.json"
                                    " --screenshot 20:s.png --config prefs.cfg",
                                output);
  ASSERT_EQ(status, 0) << output;
  for (const char* file : {"rec.txt", "d.json", "s.png", "prefs.cfg"}) {
    EXPECT_FALSE(ReadFile(here / file).empty()) << file << " is not where the program started";
    EXPECT_TRUE(ReadFile(base / file).empty()) << file << " landed in the data directory";
  }
}

}  // namespace
