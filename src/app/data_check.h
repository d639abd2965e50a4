// The data checker: `quorvex --check [--data DIR]` reads a base directory with the game's own
// readers and look-ups, without a window or a sound device, and names every mistake it finds
// in one line: the file (and line) to mend, what is wrong, and what to do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DataProblem {
  std::string file;   // as the game looks for it, relative to the base directory ("DATA/ini.txt")
  int32_t line = 0;   // counted from 1; 0 when the problem is the file as a whole
  bool error = true;  // false: a warning (the data works, but probably not as meant)
  std::string text;   // what is wrong (what to do)
};

struct DataCheck {
  std::vector<DataProblem> problems;  // sorted by file, then line
  int32_t filesRead = 0;              // data files found and read
  bool configured = false;            // the configuration file was found
  bool labyrinthMode = false;         // USESELFCREATEBASE 1
};

// Checks the base directory the program runs in (the current directory), reading it the way
// start-up and play would. Every global of the game is reset first and left as loaded.
DataCheck CheckBaseDirectory();

// One problem as its line: "FILE[:LINE]: error: text", the file name after `prefix`.
std::string FormatProblem(const DataProblem& problem, const std::string& prefix);

// True when the command line asks for the checker (--check anywhere on it).
bool WantsDataCheck(int argc, char** argv);
// Runs `--check [--data DIR]`: one line per problem and a summary line on stdout. The exit
// status is 0 when nothing is wrong, 1 when anything is (warnings count), 2 for a bad command line.
int RunDataCheck(int argc, char** argv);
