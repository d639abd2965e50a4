// The screens outside ordinary play. Each runs its own frames until it is done and returns to
// its caller; none of them advances the game.
#include "ui/menus.h"

#include <algorithm>
#include <string>

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/screen_text.h"
#include "game/bombs.h"
#include "game/pickups.h"
#include "game/player.h"
#include "game/zoom_pass.h"
#include "media/input.h"
#include "media/screen.h"
#include "media/text.h"
#include "ui/hud.h"
#include "ui/input_map.h"

BestScoreStore bestScoreStore;

namespace {

struct CreditsLine {
  float y;  // fraction of the screen height
  const char* text;
};

// A line of the pause screen or the quit question, placed in fractions of the screen.
struct MenuLine {
  float x, y;
  const char* text;
};

// The first credits page, drawn over the picture only.
constexpr CreditsLine kCreditsPage1[] = {
    {0.3f, "  THIS IS AN ALPHA PREVIEW OF MY NEXT GAMEPROJECT.|"},
    {0.35f, "  CODE UNDER THE MIT LICENSE, CONTENT UNDER CC BY 4.0.|"},
    {0.4f, "  CODE AND GRAPHICS BY THE QUORVEX TEAM.|"},
    {0.45f, "  CONCEPT AND REALISATION BY THE QUORVEX TEAM.|"},
    {0.5f, "  USE THIS APP AT YOUR OWN RISK!|"},
    {0.55f, "  MUSIC MADE WITH OUR OWN SYNTHESIZER.|"},
    {0.6f, "  |"},
    {0.65f, "  GRAPHICS AND MUSIC (C) THE QUORVEX TEAM.|"},
    {0.7f, "  FONT SYSTEM AND SCREEN TEXT BY THE QUORVEX TEAM.|"},
};
constexpr const char* kCreditsPage2 = "  THE QUORVEX TEAM PRESENTS|";
constexpr const char* kCreditsPage3 = "  QUORVEX - A LABYRINTH ARCADE GAME|";
constexpr const char* kTitleCredits = "  (C) 2026 THE QUORVEX TEAM|";
constexpr const char* kTitle = "  QUORVEX |";
constexpr const char* kKeyboardPrompt = "  PRESS  P  ON KEYBOARD TO CONTINUE|";
constexpr const char* kJoypadPrompt = "  PRESS START ON JOYPAD CONTINUE|";
constexpr MenuLine kPauseLines[] = {
    {0.4f, 0.2f, "  GAME PAUSED |"},
    {0.3f, 0.3f, "  PRESS X TO CONTINUE |"},
    {0.3f, 0.4f, "  PRESS B TO RESTART  |"},
};
constexpr MenuLine kQuitLines[] = {
    {0.3f, 0.2f, "  QUIT GAME ? |"},
    {0.3f, 0.4f, "  PRESS B TO QUIT     |"},
    {0.3f, 0.5f, "  PRESS X TO CONTINUE |"},
};
constexpr const char* kGameOver = "  GAME OVER |";
constexpr const char* kBestScore = "  BEST SCORE ";
constexpr const char* kNewBestScore = "  NEW BEST SCORE ";
constexpr const char* kTextEnd = " |";

float Width() { return gameState.screenWidth; }
float Height() { return gameState.screenHeight; }

// Text at scale 1.0, upright, opaque, glyphs edge to edge: how the menu screens write.
void DrawMenuText(const std::string& text, float x, float y) { DrawScreenText(text, x, y, 1.0f, 0.0f, 255, 1.0f); }

// Loads the picture of the credits or title screen, stretched over the whole screen.
void LoadScreenPicture(const std::string& path) {
  GameState& g = gameState;
  if (QuadExists(g.loadScreenSprite3D)) FreeQuad(g.loadScreenSprite3D);
  if (ImageExists(g.loadScreenSprite)) FreeImage(g.loadScreenSprite);
  g.loadScreenSprite3D = 0;
  SetTransparentColour(kMagenta);
  g.loadScreenSprite = path.empty() ? 0 : LoadImage(-1, path);
  if (ImageExists(g.loadScreenSprite)) {
    g.loadScreenSprite3D = MakeQuad(-1, g.loadScreenSprite);
    ResizeQuad(g.loadScreenSprite3D, RoundHalfEven(Width()), RoundHalfEven(Height()));
  }
}

bool PictureLoaded() { return ImageExists(gameState.loadScreenSprite); }

void DrawPicture() {
  if (PictureLoaded()) DrawQuad(gameState.loadScreenSprite3D, 0, 0, 255);
}

// One credits page after the first: the picture (if any) and one line near the bottom.
void ShowCreditsPage(const char* line, int32_t milliseconds) {
  BeginQuads();
  ClearBackBuffer(kBlack);
  DrawPicture();
  DrawMenuText(line, 0.1f * Width(), 0.8f * Height());
  EndQuads();
  PresentFrame();
  SleepMs(milliseconds);
}

}  // namespace

std::string CreditsPicturePath(int32_t digit) {
  const std::string& setting = settings.LOADSCREEN;
  const int32_t mark = FindText(setting, "#");
  if (mark == 0) return "";
  return TextLeft(setting, mark - 1) + NumberText(digit) + TextMid(setting, mark + 1, TextLength(setting));
}

std::string BestScoreText(int32_t best) { return kBestScore + NumberText(best) + kTextEnd; }
std::string NewBestScoreText(int32_t best) { return kNewBestScore + NumberText(best) + kTextEnd; }

std::vector<std::string> MenuTexts() {
  std::vector<std::string> texts;
  for (const CreditsLine& line : kCreditsPage1) texts.push_back(line.text);
  for (const char* text : {kCreditsPage2, kCreditsPage3, kTitleCredits, kTitle, kKeyboardPrompt, kJoypadPrompt, kGameOver})
    texts.push_back(text);
  for (const MenuLine& line : kPauseLines) texts.push_back(line.text);
  for (const MenuLine& line : kQuitLines) texts.push_back(line.text);
  texts.push_back(BestScoreText(1234567890));
  texts.push_back(NewBestScoreText(1234567890));
  return texts;
}

void PumpWindowEvent() { WaitWindowMessage(); }

void ShowCreditsScreen() {
  gameState.inTitle = 1;
  PollMouse();
  PlaceMouse();
  // The random digit is drawn only for a LOADSCREEN that has a "#".
  const bool twoPictures = !CreditsPicturePath(0).empty();
  LoadScreenPicture(twoPictures ? CreditsPicturePath(Random(1)) : "");

  BeginQuads();
  ClearBackBuffer(kBlack);
  if (PictureLoaded()) {
    DrawPicture();
    for (const CreditsLine& line : kCreditsPage1) DrawMenuText(line.text, 0.1f * Width(), line.y * Height());
  }
  EndQuads();
  PresentFrame();
  SleepMs(6000);
  PlaySoundByName(settings.KESTRAVON1, 0);

  ShowCreditsPage(kCreditsPage2, 3000);
  PlaySoundByName(settings.KESTRAVON, 0);
  ShowCreditsPage(kCreditsPage3, 2000);
}

void ShowTitleScreen() {
  GameState& g = gameState;
  g.inTitle = 1;
  g.screenState = kScreenPlaying;
  float fade = 255.0f;
  LoadScreenPicture(settings.LOADINTROSCREEN);
  PlayMusic(kTitleMusic);

  for (;;) {
    PumpWindowEvent();
    // The prompt follows a pad plugged in or pulled out while the title shows.
    const char* prompt = g.joystickPresent == 1 ? kJoypadPrompt : kKeyboardPrompt;
    BeginQuads();
    ClearBackBuffer(kBlack);
    DrawPicture();
    DrawFloatingImages(titleImages, 1);
    // The title and the prompt fade in over 1275 frames.
    const int32_t opacity = RoundHalfEven(255.0f - fade);
    DrawScreenText(kTitle, 0.1f * Width(), 0.4f * Height(), 6.0f, 0.0f, opacity, 1.0f);
    DrawScreenText(prompt, 0.1f * Width(), 0.65f * Height(), 0.8f, 0.0f, opacity, 1.0f);
    DrawScreenText(kTitleCredits, 0.5f * Width(), 0.8f * Height(), 0.6f, 0.0f, 255, 1.0f);
    if (bestScoreStore.kept && bestScoreStore.best > 0)
      DrawScreenText(BestScoreText(bestScoreStore.best), 0.5f * Width(), 0.87f * Height(), 0.6f, 0.0f, 255, 1.0f);
    fade = fade > 0.0f ? fade - 0.2f : 0.0f;
    EndQuads();
    PresentFrame();
    if (ReadMenuCommand() == kCmdPause) break;
  }

  g.inTitle = 0;
  g.level = 1;
  g.builtLevel = -1;
}

void ShowPauseScreen() {
  for (;;) {
    // The texts go over the picture left in the back buffer.
    BeginQuads();
    for (const MenuLine& line : kPauseLines) DrawMenuText(line.text, line.x * Width(), line.y * Height());
    EndQuads();
    PresentFrame();
    const Command command = ReadMenuCommand();
    if (command == kCmdB) {
      // In labyrinth mode the main loop builds the level again.
      gameState.builtLevel = -1;
      gameState.score = gameState.levelStartScore;
      return;
    }
    if (command == kCmdX) return;
  }
}

void ShowQuitQuestion() {
  for (;;) {
    BeginQuads();
    for (const MenuLine& line : kQuitLines) DrawMenuText(line.text, line.x * Width(), line.y * Height());
    EndQuads();
    PresentFrame();
    const Command command = ReadMenuCommand();
    if (command == kCmdB) {
      // The game-over screen comes first; its LeaveGame then ends the program.
      gameState.screenState = kScreenGameOver;
      gameState.quitRequested = 1;
      return;
    }
    if (command == kCmdX) {
      // The bomb input must be let go before the next bomb.
      bombKeyState = kBombKeyUsed;
      return;
    }
  }
}

void ShowGameOver() {
  SetQuadBlending(5, 6);
  GrabZoomPicture();
  const float w = Width(), h = Height();
  const int32_t frames = SweepFrames(w);
  // A game that beat the best score says so under the sweep, and the new best is kept.
  const int32_t score = std::max(gameState.score, scoreTarget);
  const bool newBest = bestScoreStore.kept && score > bestScoreStore.best;
  if (newBest) {
    bestScoreStore.best = score;
    if (bestScoreStore.save) bestScoreStore.save(score);
  }
  float spacing = 0.0f;
  for (int32_t frame = 0; frame < frames; frame++) {
    ClearBackBuffer(kBlack);
    BeginQuads();
    DrawQuad(gameState.zoomSprite3D, 0, 0, 255);
    DrawScreenText(kGameOver, w * (0.3f - spacing / 10.0f), 0.3f * h, 3.0f, 0.0f, 240, spacing);
    if (newBest) DrawScreenText(NewBestScoreText(score), 0.3f * w, 0.55f * h, 1.2f, 0.0f, 255, 1.0f);
    EndQuads();
    PresentFrame();
    spacing += 0.05f;
  }
  // The frozen picture stays until the next grab.
  LeaveGame();
}
