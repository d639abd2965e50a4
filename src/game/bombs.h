// Bombs: the stock, the one-bomb-per-press arming, the play commands, and the four-arm blast.
#pragma once

#include <cstdint>
#include <string>

// The font's bomb icon: the display draws one per bomb carried.
constexpr const char* kBombIcon = "&";
// One bomb icon per bomb carried; starts as one bomb and carries over between levels and games.
extern std::string bombStock;
extern int8_t bombArmed;     // 1: the next bomb command fires

// Where the bomb input is in its press-and-release cycle: only a bomb command that follows a
// read without one fires, so holding the input down fires one bomb.
enum BombKeyState : int8_t {
  kBombKeyAtStart = 1,    // nothing read yet
  kBombKeyUsed = 16,      // a bomb was fired (or play resumed) and the input is not let go yet
  kBombKeyReleased = 17,  // an input read without the bomb command
};
extern int8_t bombKeyState;  // a BombKeyState

// The commands the input mapping delivers, one per input read, to play and to the screens.
enum Command : int32_t {
  kCmdBomb = 0,
  kCmdB = 1,  // the B choice: restart on the pause screen, quit on the quit question
  kCmdX = 4,  // the X choice: back to play
  // Delivered, and ignored everywhere: the D and Y keys or joypad button 4, and buttons 5 to 8.
  kCmdY = 5,
  kCmdButton7 = 10,
  kCmdButton8 = 11,
  kCmdButton5 = 12,
  kCmdButton6 = 13,
  kCmdPause = 14,  // pause in play, start on the title screen
  kCmdQuit = 15,   // the quit question
  kCmdNone = 16,
};

// Arms and fires bombs, opens the pause screen or the quit question.
void DispatchCommand(Command command);
void DropBomb();
void Explode();

void ResetBombState();
