// The program's spine: start-up, the mode choice, the main loop, the game step and shut-down.
#pragma once

#include <cstdint>

// A MULTITASK sleep longer than this would only freeze the game: the sleep is cut to it.
constexpr int32_t kLongestFrameSleep = 1000;

// Start-up, mode choice and main loop; never returns.
[[noreturn]] void Main();
// Start-up up to the first screen: harness options, display, base directory, settings,
// window, lists and assets. Ends the program where the game cannot start.
void StartUp();

// Fills screenWidth, screenHeight and fontScale from the primary desktop.
void ExamineDesktop();
// Opens the window and then the screen; reports errors 2 and 1.
void OpenMainWindow();
// Creates the empty lists and the start-up tile map.
void CreateWorldLists();
// Loads topography images, object definitions, sounds, music list, floating images and the font.
void LoadAssets();

// One pass of the main loop.
void MainLoopPass();
// One frame of play.
void GameStep();
// Draws the visible world and runs the per-frame world procedures.
void WorldStep();
// level + 1, timeLeft 0.
void CompleteLevel();

// Labyrinth mode was chosen at start-up (USESELFCREATEBASE 1).
extern bool labyrinthMode;

// Hands the lower layers what they call upwards: the release of every service (for the error
// report and ShutDown) and the screens that play opens.
void ConnectLayers();

// Puts every global of every subsystem back to its start-up value (tests start clean).
void ResetAllState();
