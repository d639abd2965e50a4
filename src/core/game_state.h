// The one global game state record, shared by every subsystem.
#pragma once

#include <cstdint>

// What the game step makes of a frame: play, or the game-over screen.
enum ScreenState : int32_t { kScreenPlaying = 19, kScreenGameOver = 21 };

struct GameState {
  int32_t level = 1;            // current level number, counted from 1
  int32_t builtLevel = 0;       // level whose labyrinth is built; the main loop rebuilds when it differs
  int8_t levelJustBuilt = 0;    // set after a build by the main loop; the map announcement clears it
  int32_t score = 0;
  int32_t levelStartScore = 0;  // score when the last level was completed; the restart puts it back
  int32_t timeLeft = 0;         // level time in seconds
  int32_t frameTick = 0;        // frames counted toward the next timer second
  int32_t tilesLeft = 0;        // work left in the level; below 1 the level is complete
  int32_t screenState = kScreenPlaying;  // a ScreenState
  int8_t inTitle = 1;           // 1 while the credits and title screens run
  int8_t quitRequested = 0;     // the quit question was confirmed
  int8_t joystickPresent = 0;
  int8_t drawWorld = 0;         // the world is stepped and drawn only while this is 1
  float viewX = 0.0f, viewY = 0.0f;        // map column and row in the top-left screen cell
  float viewCols = 0.0f, viewRows = 0.0f;  // visible columns and rows
  int32_t cellX = 0, cellY = 0;            // cell the world step is visiting
  int32_t mapWidth = 0, mapHeight = 0;     // labyrinth size in cells
  float tileWidth = -1.0f, tileHeight = -1.0f;
  float screenWidth = 1.0f, screenHeight = 1.0f;
  float fontScale = 1.0f;
  int32_t mainWindow = 0;
  int32_t zoomSprite = 0, zoomSprite3D = 0;            // grabbed frame of the zoom pass and the screens
  int32_t loadScreenSprite = 0, loadScreenSprite3D = 0;  // picture of the credits and title screens
};

extern GameState gameState;

// Puts the game state back to its start-up values.
void ResetGameState();

// Adds two counters the way 32-bit hardware does (wrapping), so that hostile data cannot make
// a score or a clock overflow into undefined behaviour.
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
