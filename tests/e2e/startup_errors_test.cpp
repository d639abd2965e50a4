#include <gtest/gtest.h>

#include "support/game_run.h"
#include "support/temp_dir.h"

namespace {

TEST(StartupErrors, EmptyDirectoryReportsTheMissingConfigurationAndExitsWithOne) {
  TempDir dir;
  std::string output;
  // Without a display there is no box to wait for: the text goes to stderr and the game ends.
  const int status = RunCommand("cd '" + dir.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 " QUORVEX_BINARY, output);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find(" Could not open " + dir.Path() + "/DATA/ini.txt"), std::string::npos) << output;
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
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --frames 0", output), 2);
  EXPECT_NE(output.find("--frames takes a positive number"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --bogus", output), 2);
  EXPECT_NE(output.find("unknown option --bogus"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --windowed 12", output), 2);
}

}  // namespace
