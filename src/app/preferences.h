// The player's preferences: $XDG_CONFIG_HOME/quorvex/quorvex.cfg (~/.config/quorvex/ when that
// is not set), a text file of `name = value` lines and `#` comments that a person can edit.
// Read at start-up; written whole, a comment above each entry, whenever the player changes
// something the file keeps (the full screen, the window's size, a volume). Every problem in it
// is one line on stderr, "FILE:LINE: ...", naming the default used instead; nothing in it
// can stop the game. Options on the command line win over it for that run, and are not written
// into it. Under the test harness it is neither read nor written unless --config names one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/input_map.h"

struct Preferences {
  bool fullscreen = true;
  int32_t windowWidth = 0, windowHeight = 0;  // 0 x 0: fitted to the display ("auto")
  int32_t musicVolume = 100;
  int32_t effectsVolume = 100;
  bool muted = false;
  Bindings bindings = DefaultBindings();
};

// Lines longer than this are not read (and said to be so).
constexpr size_t kLongestPreferenceLine = 4096;
// The most problems said of one file; the rest are counted in one last line.
constexpr size_t kMostPreferenceProblems = 30;

// Reads a preferences file's lines; each problem is added as "NAME:LINE: ...".
Preferences ReadPreferences(std::FILE* file, const std::string& name, std::vector<std::string>& problems);
// The same for a text in memory (tests).
Preferences ParsePreferences(const std::string& text, const std::string& name, std::vector<std::string>& problems);
// The file's text, every entry written with a comment above it.
std::string FormatPreferences(const Preferences& preferences);

// Where the preferences live for this run: --config FILE, else the XDG place, else none
// (harness runs, or no home directory).
std::string PreferencesPath();

// At start-up, after the command line: reads the file (if any) and applies it where the
// command line leaves it free: the window or full screen, the window's size, the volumes, the
// keys and buttons. Connects the window's and the desktop keys' changes to saving it.
void LoadPreferences();
// The preferences in force (what the file holds once saved).
const Preferences& CurrentPreferences();
// Something the file keeps was changed by the player: saves it; with `soon`, a moment later when
// it was just written (a window dragged, a volume key held down).
void SavePreferences(bool soon);
// Once a frame: writes a change held back by SavePreferences(true) once its moment has come.
void KeepPreferencesSaved();
// Saves what is still to be saved (on the way out).
void FinishPreferences();

// A key the desktop keeps was pressed (see input_map.h): a volume step, mute, or the full
// screen (Alt held with Return, or F11). Shows what changed and saves it.
void PressDesktopKey(int32_t code, bool altHeld);

void ResetPreferencesState();
