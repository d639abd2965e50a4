// quorvex-map: the data author's tool for world maps and labyrinth levels, over the game's own
// readers and level set-up, without a display.
//
//   quorvex-map export  [--data DIR | --world] OUT.png|OUT.tmx|OUT.tmj
//   quorvex-map import  [--data DIR | --world] IN.png|IN.tmx|IN.tmj
//   quorvex-map preview [--data DIR | --world] [--level N] [--objects] OUT.png
//   quorvex-map levels  [--data DIR] [--count N]
//
// The base directory is found as the game finds it. Exit status 0 when all went well, 1 when
// an input was refused (nothing is written then), 2 for a bad command line.
#pragma once

#include <string>
#include <vector>

struct MapCommand {
  std::string command;    // export, import, preview, levels; empty with --help or --version
  bool help = false, version = false;
  std::string dataDirectory;
  bool world = false;
  std::string file;       // OUT or IN, as given
  int32_t level = 0;      // preview: 0 the world map (or level 1 of a labyrinth base)
  bool objects = false;   // preview of the world: also what its tiles spawn, and the player
  int32_t count = 10;     // levels
};

// Parses the arguments after the program's name; false with the problem in `error`.
bool ParseMapCommand(const std::vector<std::string>& args, MapCommand& command, std::string& error);
std::string MapHelpText();
std::string MapVersionText();

// Runs quorvex-map; the exit status.
int RunMapTool(int argc, char** argv);
