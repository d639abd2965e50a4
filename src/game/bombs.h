// Bombs: the stock, the one-bomb-per-press arming, the play commands, and the four-arm blast.
#pragma once

#include <cstdint>
#include <string>

// The font's bomb icon: the display draws one per bomb carried.
constexpr const char* kBombIcon = "&";
// One bomb icon per bomb carried; starts as one bomb and carries over between levels and games.
extern std::string bombStock;
extern int8_t bombArmed;     // 1: the next bomb command fires
extern int8_t bombKeyState;  // 17 the bomb input was let go, 16 a bomb was used

// Command codes of the input mapping.
constexpr int32_t kCmdBomb = 0, kCmdB = 1, kCmdX = 4, kCmdPause = 14, kCmdQuit = 15, kCmdNone = 16;

// Arms and fires bombs, opens the pause screen (14) or the quit question (15).
void DispatchCommand(int32_t command);
void DropBomb();
void Explode();

void ResetBombState();
