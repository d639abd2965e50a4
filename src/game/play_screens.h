// The screens that play opens. They belong to the presentation layer above the rules of play,
// which hands them over at start-up; one that was not handed over does nothing.
#pragma once

struct PlayScreens {
  void (*title)() = nullptr;         // a game left by a HARDCORE trap or the game-over screen
  void (*pause)() = nullptr;         // the pause command
  void (*quitQuestion)() = nullptr;  // the quit command
};

extern PlayScreens playScreens;

// Opens one of them, if it was handed over.
inline void OpenScreen(void (*screen)()) {
  if (screen) screen();
}
