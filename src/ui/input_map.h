// Input mapping: keyboard or joypad into a direction and a command, at the movement cadence.
#pragma once

#include <cstdint>

extern int8_t currentDirection;   // 6 up, 7 down, 8 left, 9 right, 16 none
extern int32_t currentCommand;    // 0 bomb, 1 B, 4 X, 5, 10..13, 14 pause, 15 quit, 16 none

void ReadControls();
void ReadCommand();
int32_t ReadMenuCommand();

void ResetInputMapState();
