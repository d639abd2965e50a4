// The one way the game fails: a message box titled "ERROR " (and the same text as one line on
// stderr), then the program ends with exit status 1.
#pragma once

#include <cstdint>
#include <string>

// The errors that end the program, by the numbers they are known by.
enum ErrorCode : int32_t {
  kErrorConfiguration = 0,   // DATA\ini.txt cannot be opened
  kErrorScreen = 1,          // the screen cannot be opened in the window
  kErrorWindow = 2,          // the window cannot be opened
  kErrorWorldMap = 4,        // the world map's cell file cannot be opened
  kErrorLabyrinthBase = 5,   // the labyrinth's base file (SELFCREATEBASE) cannot be opened
};

// The text shown for an error; detail is the path for the configuration and the base file.
std::string ErrorText(ErrorCode code, const std::string& detail = "");

// Shows the error, releases every service and ends the process. Never returns.
[[noreturn]] void ReportError(ErrorCode code, const std::string& detail = "");

// Start-up turns the box on for a player's run; until then, and in automated runs (the
// harness's fast mode, tests), the error is printed without a box nobody could close.
void SetErrorBoxEnabled(bool enabled);
