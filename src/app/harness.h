// The command line: the options players use (how to show the game, which data to play) and the
// test harness built into the game, options for tests, benchmarks and bug reports. Without
// options the game plays full-screen as it always does. QuorvexHelpText lists them all.
//
//   --fullscreen          the whole display (the default); Alt+Enter and F11 switch at run time
//   --window              a window that can be resized, the picture scaled into it
//   --world               the installed world base instead of the labyrinth game
//   --help, --version
//   --data DIR            change into DIR before start-up
//   --config FILE         the preferences file to read and write (any run, the harness's too)
//   --state DIR           the directory of best scores to read and write (likewise)
//   --windowed WxH        an ordinary window of W x H pixels, taken as the desktop size
//   --fast                no frame pacing and no sleeping; a virtual millisecond clock
//   --frames N            end the program, exit status 0, right after the N-th presented frame
//   --replay FILE         keyboard, joypad and window events from FILE instead of the devices
//   --record FILE         write every change of key and button state to FILE
//   --screenshot N:FILE   write presented frame N as a PNG (repeatable)
//   --dump N:FILE         write the game state after presented frame N as JSON (repeatable)
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct HarnessOptions {
  bool help = false;
  bool version = false;
  bool window = false;      // --window
  bool fullscreen = false;  // --fullscreen
  bool world = false;
  std::string dataDirectory;
  std::string configFile;      // --config
  std::string stateDirectory;  // --state
  int32_t windowWidth = 0, windowHeight = 0;
  bool fast = false;
  int32_t endFrame = 0;
  std::string replayFile;
  std::string recordFile;
  std::multimap<int32_t, std::string> screenshots;  // frame -> file
  std::multimap<int32_t, std::string> dumps;        // frame -> file
};

extern HarnessOptions harnessOptions;

// One replay event: at the poll after presented frame `frame`, key or button `input` goes down or
// up; or, for a window event, the window loses or gains the focus, or is minimised or restored.
struct ReplayEvent {
  int32_t frame = 0;
  bool down = false;
  bool window = false;  // input is then "focus-lost", "focus-gained", "minimized" or "restored"
  std::string input;    // "UP", "JOY3", "0x1E", ...
};

// True when any testing option is given (--fast, --replay, --frames, --windowed, --record,
// --screenshot, --dump): such a run keeps nothing of the player's unless --config or --state
// names a place, so that it goes the same on every machine.
bool TestHarnessRun();

// Parses the command line; prints the problem and returns false on a bad option.
bool ParseHarnessOptions(int argc, char** argv);
// The --help and --version texts.
std::string QuorvexHelpText();
std::string QuorvexVersionText();
bool ParseHarnessOptions(const std::vector<std::string>& args, std::string& error);

// Parses a replay file's text; returns false (with a message naming the line) on a bad line.
bool ParseReplay(const std::string& text, std::vector<ReplayEvent>& events, std::string& error);

// Applies the options that act before start-up (window, fast mode, replay, directory). Paths of
// files the harness reads or writes are taken relative to the directory the program was started
// from. Returns false with a message on stderr when they cannot be applied.
bool ApplyHarnessOptions();

// The game state as the --dump JSON object.
std::string DumpGameState(int32_t frame);

// Runs once a frame is in the window and before it is shown: screenshots.
void HarnessBeforePresent(int32_t frame);

// Runs after every presented frame: the end of the program after a stop signal or the window's
// close button, dumps, replay events falling due, recording, and the end of the run after --frames.
void HarnessAfterPresent(int32_t frame);

// An in-process observer of every presented frame, run after the harness's own work (tools that
// drive the game from inside, such as the test bot, use it).
void SetHarnessObserver(void (*observer)(int32_t frame));

// Flushes the record file (called on every way out of the program).
void FinishHarness();
