// The screens outside ordinary play: credits, title, pause, quit question, game over.
#pragma once

// Handles at most one window message (waiting at most 1 ms); the message is ignored. The main
// loop and every screen's frame call it.
void PumpWindowEvent();

void ShowCreditsScreen();
void ShowTitleScreen();
void ShowPauseScreen();
void ShowQuitQuestion();
void ShowGameOver();
