// The game as a player gets it: `cmake --install` into a staging directory, then the installed
// game started from another directory with no --data finds its installed data, and the desktop
// entries, the metainfo and the manual page pass their checkers.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_run.h"

namespace {

namespace fs = std::filesystem;

TEST(Install, TheStagedGameRunsFromAnotherDirectoryWithItsDesktopFilesAndManualPage) {
  TempDir stage, elsewhere;
  const std::string build = fs::path(QUORVEX_BINARY).parent_path().string();
  std::string output;
  ASSERT_EQ(RunCommand("cmake --install '" + build + "' --prefix '" + stage.Path() + "'", output), 0) << output;
  for (const char* file : {"games/quorvex", "games/quorvex-map", "share/man/man6/quorvex-map.6.gz", "share/quorvex/labyrinth/DATA/ini.txt", "share/quorvex/world/DATA/ini.txt",
                           "share/quorvex/world/DATA/MAPS/ISLAND.ai42", "share/applications/quorvex.desktop",
                           "share/applications/quorvex-world.desktop", "share/metainfo/org.example.quorvex.metainfo.xml",
                           "share/icons/hicolor/48x48/apps/quorvex.png", "share/icons/hicolor/256x256/apps/quorvex.png",
                           "share/man/man6/quorvex.6.gz", "share/doc/quorvex/README.md", "share/doc/quorvex/CONTENT",
                           "share/doc/quorvex/LICENSE", "share/doc/quorvex/copyright", "share/doc/quorvex/changelog.gz"})
    EXPECT_TRUE(fs::is_regular_file(stage / file)) << file << " is not installed";

  // Nothing in the XDG directories: the game finds the bases beside itself, in ../share/quorvex
  // (from games/, where Debian's games go).
  const std::string environment = "cd '" + elsewhere.Path() + "' && env HOME='" + elsewhere.Path() + "' XDG_DATA_HOME='" +
                                  elsewhere / "none" + "' XDG_DATA_DIRS='" + elsewhere / "none" +
                                  "' SDL_AUDIODRIVER=dummy timeout 300 '" + stage / "games/quorvex" + "' --fast --frames 40 ";
  for (const bool world : {false, true}) {
    SCOPED_TRACE(world ? "world" : "labyrinth");
    const std::string dump = elsewhere / (world ? "world.json" : "labyrinth.json");
    ASSERT_EQ(RunCommand(environment + (world ? "--world " : "") + "--windowed 640x360 --dump 40:'" + dump + "'", output), 0)
        << output;
    const JsonValue state = ReadDump(dump);
    EXPECT_EQ(state["screenWidth"].Int(), 1280) << "the demo draws a 1280 x 720 screen, whatever the window";
    EXPECT_EQ(state["tileWidth"].Int(), world ? 40 : 80);
  }

  for (const char* entry : {"quorvex.desktop", "quorvex-world.desktop"}) {
    EXPECT_EQ(RunCommand("desktop-file-validate '" + stage / ("share/applications/" + std::string(entry)) + "'", output), 0) << entry << ": " << output;
    EXPECT_EQ(output, "") << entry;
  }
  // The metainfo names the desktop entry it belongs to, and the checker finds it in the tree.
  EXPECT_EQ(RunCommand("appstreamcli validate-tree --no-net --pedantic '" + stage.Path() + "'", output), 0) << output;
  for (const auto& [name, title] : {std::pair{"quorvex.6.gz", "quorvex - labyrinth arcade game"},
                                     std::pair{"quorvex-map.6.gz", "QUORVEX-MAP(6)"}}) {
    const std::string page = stage / ("share/man/man6/" + std::string(name));
    EXPECT_EQ(RunCommand("{ zcat '" + page + "' | groff -man -t -ww -z; }", output), 0) << output;
    EXPECT_EQ(output, "") << name << ": the manual page has warnings";
    EXPECT_EQ(RunCommand("MANWIDTH=80 man -l '" + page + "'", output), 0) << output;
    EXPECT_NE(output.find(title), std::string::npos) << output;
  }

  // The installed map tool finds the installed world as the game does.
  EXPECT_EQ(RunCommand(environment.substr(0, environment.find("SDL_AUDIODRIVER")) + "'" + stage / "games/quorvex-map" +
                           "' export --world island.png",
                       output),
            0)
      << output;
  EXPECT_TRUE(fs::is_regular_file(elsewhere / "island.png"));
}

}  // namespace
