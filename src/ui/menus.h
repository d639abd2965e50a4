// The screens outside ordinary play: credits, title, pause, quit question, game over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The music track the title screen plays, by its file name in the music directory.
constexpr const char* kTitleMusic = "menu.ogg";

// The credits picture: LOADSCREEN with its first "#" replaced by the digit (the credits screen
// draws 0 or 1 at random, so that two pictures take turns); empty without a "#".
std::string CreditsPicturePath(int32_t digit);

// Every text the screens draw (credits, title, pause, quit question, game over).
std::vector<std::string> MenuTexts();

// Handles at most one window message (waiting at most 1 ms); the message is ignored. The main
// loop and every screen's frame call it.
void PumpWindowEvent();

void ShowCreditsScreen();
void ShowTitleScreen();
void ShowPauseScreen();
void ShowQuitQuestion();
void ShowGameOver();
