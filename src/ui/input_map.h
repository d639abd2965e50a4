// Input mapping: keyboard or joypad into a direction and a command, at the movement cadence.
#pragma once

#include "game/bombs.h"
#include "game/player.h"

// The direction and the command of the last read.
extern Direction currentDirection;
extern Command currentCommand;

void ReadControls();
void ReadCommand();
Command ReadMenuCommand();

void ResetInputMapState();
