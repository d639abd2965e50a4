// The one way the game fails: a message box titled "ERROR " (and the same text as one line on
// stderr), then the program ends with exit status 1.
#pragma once

#include <cstdint>
#include <string>

// The text shown for an error code; detail is the path for codes 0 and 5.
std::string ErrorText(int32_t code, const std::string& detail = "");

// Shows the error, releases every service and ends the process. Never returns.
[[noreturn]] void ReportError(int32_t code, const std::string& detail = "");

// Start-up turns the box on for a player's run; until then, and in automated runs (the
// harness's fast mode, tests), the error is printed without a box nobody could close.
void SetErrorBoxEnabled(bool enabled);
