// Input mapping: keyboard or joypad into a direction and a command, at the movement cadence.
// Which keys and buttons give which action is a table the player may change (the preferences
// file); every action keeps at least one key, and a key or button serves one action only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/bombs.h"
#include "game/player.h"

// The direction and the command of the last read.
extern Direction currentDirection;
extern Command currentCommand;

void ReadControls();
void ReadCommand();
Command ReadMenuCommand();

void ResetInputMapState();

// --- Bindings -------------------------------------------------------------------------------

// The actions a player can bind, in the order the preferences file lists them.
enum Action : int32_t {
  kActWalkUp,
  kActWalkDown,
  kActWalkLeft,
  kActWalkRight,
  kActBomb,
  kActPause,          // pause in play, start on the title screen
  kActQuit,           // the quit question
  kActChoiceX,        // the X choice: back to play
  kActChoiceB,        // the B choice: restart on the pause screen, quit on the quit question
  kActNextLevel,      // acts when let go
  kActPreviousLevel,  // acts when let go
  kActionCount
};

struct ActionInfo {
  const char* name;  // as in key.NAME and button.NAME
  const char* what;  // said in the preferences file and the docs
  bool mayBeUnbound; // the level keys may be switched off; every other action needs a key
};
extern const ActionInfo kActionInfo[kActionCount];

// Joypad inputs: buttons 1..32, and the four directions of the stick and D-pad.
constexpr int32_t kPadInputUp = 33, kPadInputDown = 34, kPadInputLeft = 35, kPadInputRight = 36;

struct Bindings {
  std::vector<int32_t> keys[kActionCount];     // scan codes
  std::vector<int32_t> buttons[kActionCount];  // joypad inputs
};
Bindings DefaultBindings();
const Bindings& CurrentBindings();
// Takes the table as it is (the preferences reader checks it first, see BindingProblem).
void SetBindings(const Bindings& bindings);

// The keys kept for the desktop, the same on every screen: the volumes, mute and the full screen
// (F11, and Return with Alt held). No action may take them.
namespace DesktopKey {
constexpr int32_t kMusicDown = 0x3F, kMusicUp = 0x40, kEffectsDown = 0x41, kEffectsUp = 0x42,  // F5 to F8
    kMute = 0x43, kFullscreen = 0x57, kReturn = 0x1C, kLeftAlt = 0x38, kRightAlt = 0xB8;       // F9, F11
}
// True for such a key, with what it does ("the music volume").
bool KeyKeptForDesktop(int32_t code, std::string& what);

// Names of keys and joypad inputs as the preferences file writes them ("Space", "PageUp", "F5",
// "A"; "Start", "Up", "7"); a key without a name is written as its scan code, "0x56". Reading
// ignores letter case. 0 for a name that names nothing.
std::string KeyName(int32_t code);
int32_t KeyFromName(const std::string& name);
std::string PadInputName(int32_t input);
int32_t PadInputFromName(const std::string& name);
// Every key name, for the docs and the tests.
std::vector<std::string> KeyNames();
