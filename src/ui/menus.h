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

// The best score of the base directory: shown under the title screen's lines once there is one,
// and on the game-over screen when that game beat it (which saves the new one). The store is
// connected at start-up; without one (harness runs) neither screen shows a best score.
struct BestScoreStore {
  bool kept = false;
  int32_t best = 0;
  void (*save)(int32_t best) = nullptr;
};
extern BestScoreStore bestScoreStore;
// The texts that show it.
std::string BestScoreText(int32_t best);
std::string NewBestScoreText(int32_t best);

// Handles at most one window message (waiting at most 1 ms); the message is ignored. The main
// loop and every screen's frame call it.
void PumpWindowEvent();

void ShowCreditsScreen();
void ShowTitleScreen();
void ShowPauseScreen();
void ShowQuitQuestion();
void ShowGameOver();
