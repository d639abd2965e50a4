#include <gtest/gtest.h>

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

TEST(StartupErrors, BadOptionsAreRefusedWithUsage) {
  std::string output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --frames 0", output), 2);
  EXPECT_NE(output.find("--frames takes a positive number"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --bogus", output), 2);
  EXPECT_NE(output.find("unknown option --bogus"), std::string::npos) << output;
  EXPECT_EQ(RunCommand(QUORVEX_BINARY " --windowed 12", output), 2);
}

}  // namespace
