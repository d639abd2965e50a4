// Placed objects in play (drawing, touching, score, time, bombs) and the level timer.
#pragma once

#include <cstdint>

// The child name of the bomb pick-up: touching it adds a bomb while the stock has room.
constexpr const char* kBombPickup = "BOMB";

// The total the shown score counts up to; grows only through count-up objects.
extern int32_t scoreTarget;

// Draws the placed objects of the visible cells and marks touchable cells.
void ObjectsFrame();
void TouchObjects(int32_t x, int32_t y);
void TouchObject(int32_t x, int32_t y, int32_t slot);
void TakeObject(int32_t x, int32_t y, int32_t slot);
void PlayObjectSound(int32_t position);
// Counts frames towards a timer second (direction -1 counts down). levelWon: the level was
// completed in this game step, so a second that ends now takes nothing from its time (it is 0
// already) and cannot end the game.
void TimerFrame(int8_t direction, bool levelWon = false);
void TimerSecond(int8_t direction);
// Game over when t is below 0 outside the title screens.
void CheckTimeOut(int32_t t);

void ResetPickupState();
