// Small pictures and an open test screen for the presentation tests.
#pragma once

#include <cstdint>
#include <string>

// Writes a w x h PNG of one colour (r + g*256 + b*65536); false on failure.
bool WriteSolidPng(const std::string& path, int32_t width, int32_t height, uint32_t colour);

// Opens a window and a back buffer of w x h under the X server the tests run in, in fast mode
// (no frame pacing); gameState.screenWidth and screenHeight are set to the size. False where
// there is no display.
bool OpenTestScreen(int32_t width, int32_t height);
