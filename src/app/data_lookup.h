// Where the game finds its data when no --data is given: the current directory when it holds
// DATA/ini.txt (a base directory, as the game has always been started), else the installed
// bases: $XDG_DATA_HOME, then each of $XDG_DATA_DIRS, then ../share beside the program.
#pragma once

#include <string>
#include <vector>

struct DataSearch {
  std::string currentDirectory;  // with a trailing "/"
  std::string dataHome;          // $XDG_DATA_HOME
  std::string dataDirs;          // $XDG_DATA_DIRS
  std::string home;              // $HOME
  std::string programDirectory;  // the directory of the running program
  bool world = false;            // the world base instead of the labyrinth game
};

// A base directory to try (with a trailing "/") and where it comes from, for the message.
struct DataPlace {
  std::string directory;
  std::string origin;
};

// The base directories to try, in order, following the XDG base directory rules: an unset or
// empty XDG_DATA_HOME is ~/.local/share, an unset or empty XDG_DATA_DIRS is
// /usr/local/share:/usr/share, and relative entries are ignored. The current directory is
// tried first, except for the world base.
std::vector<DataPlace> DataPlaces(const DataSearch& search);

// Changes into the first place of DataPlaces (for this process) that holds DATA/ini.txt.
// When none does, returns false and gives in `notFound` where it looked and how to point the
// game at its data.
bool EnterInstalledData(bool world, std::string& notFound);

// Without --data: changes into the first place that holds DATA/ini.txt. When none does, says
// where it looked and how to point the game at its data, and ends the program (status 1).
void ChooseBaseDirectory();
