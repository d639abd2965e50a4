// The command line: the options players use, and where the game looks for its data without
// --data (the rules of the XDG base directories).
#include "app/data_lookup.h"

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

std::vector<std::string> Directories(const DataSearch& search) {
  std::vector<std::string> out;
  for (const DataPlace& p : DataPlaces(search)) out.push_back(p.directory);
  return out;
}

TEST(DataPlaces, CurrentDirectoryThenXdgDataHomeThenXdgDataDirsThenBesideTheProgram) {
  using List = std::vector<std::string>;
  const struct {
    const char* what;
    DataSearch search;
    List places;
  } cases[] = {
      {"everything unset: ~/.local/share, /usr/local/share, /usr/share",
       {"/play", "", "", "/home/ann", "/opt/q/bin", false},
       {"/play/", "/home/ann/.local/share/quorvex/labyrinth/", "/usr/local/share/quorvex/labyrinth/",
        "/usr/share/quorvex/labyrinth/", "/opt/q/share/quorvex/labyrinth/"}},
      {"both set, with empty and relative entries ignored",
       {"/play/", "/data/home/", "/a::relative/b:/c/", "/home/ann", "/usr/bin", false},
       {"/play/", "/data/home/quorvex/labyrinth/", "/a/quorvex/labyrinth/", "/c/quorvex/labyrinth/",
        "/usr/share/quorvex/labyrinth/"}},
      {"a relative XDG_DATA_HOME is ignored, not replaced by the default",
       {"/play/", "share", "/d", "/home/ann", "", false},
       {"/play/", "/d/quorvex/labyrinth/"}},
      {"no HOME: no data home", {"/play/", "", "/d", "", "", false}, {"/play/", "/d/quorvex/labyrinth/"}},
      {"the world base skips the current directory",
       {"/play/", "/h", "/d", "/home/ann", "/opt/q/bin/", true},
       {"/h/quorvex/world/", "/d/quorvex/world/", "/opt/q/share/quorvex/world/"}},
      {"a place named twice is tried once",
       {"/play/", "/usr/share", "/usr/share:/usr/share/", "/home/ann", "/usr/bin", false},
       {"/play/", "/usr/share/quorvex/labyrinth/"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Directories(c.search), c.places) << c.what;
}

TEST(CommandLine, PlayersOptionsAndTheirConflicts) {
  using Args = std::vector<std::string>;
  const struct {
    Args args;
    const char* error;  // empty: accepted
  } cases[] = {
      {{}, ""},
      {{"--window"}, ""},
      {{"--fullscreen", "--world"}, ""},
      {{"--help", "--fast"}, ""},
      {{"--window", "--fullscreen"}, "--fullscreen, --window and --windowed each choose how the game is shown: give one"},
      {{"--windowed", "640x480", "--window"}, "--fullscreen, --window and --windowed each choose how the game is shown: give one"},
      {{"--world", "--data", "x"}, "--world and --data each choose the data: give one"},
      {{"--data"}, "--data needs a value"},
      {{"--config", "my.cfg", "--state", "scores", "--fast"}, ""},
      {{"--config"}, "--config needs a value"},
      {{"--state"}, "--state needs a value"},
      {{"--windowed", "0x480"}, "--windowed takes WxH, such as 1280x720"},
      {{"--wndow"}, "unknown option --wndow"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(ParseHarnessOptions(c.args, error), std::string(c.error).empty()) << c.args.size();
    EXPECT_EQ(error, c.error);
  }
  std::string error;
  ASSERT_TRUE(ParseHarnessOptions(Args{"-h", "--world", "--window"}, error));
  EXPECT_TRUE(harnessOptions.help);
  EXPECT_TRUE(harnessOptions.world);
  EXPECT_TRUE(harnessOptions.window);
  EXPECT_FALSE(harnessOptions.fullscreen);
  ASSERT_TRUE(ParseHarnessOptions(Args{"--version"}, error));
  EXPECT_TRUE(harnessOptions.version);
  EXPECT_FALSE(harnessOptions.help) << "each parse starts afresh";
  ParseHarnessOptions(Args{}, error);
}

}  // namespace
