// The screens outside ordinary play: credits, title, pause, quit question, game over.
#pragma once

void ShowCreditsScreen();
void ShowTitleScreen();
void ShowPauseScreen();
void ShowQuitQuestion();
void ShowGameOver();
