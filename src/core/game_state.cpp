#include "core/game_state.h"

GameState gameState;

void ResetGameState() { gameState = GameState{}; }
