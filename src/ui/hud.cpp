// The heads-up display over the play field, and the "MAP" announcement of a new level played
// over the frozen picture of its first frame.
#include "ui/hud.h"

#include <cmath>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/screen_text.h"
#include "game/bombs.h"
#include "game/pickups.h"
#include "game/zoom_pass.h"
#include "media/screen.h"
#include "media/text.h"

int32_t tickerOffset = 0;
// No wider than the screen (about 1024 of 1280 pixels at the font's own size), so that it has
// left the screen before it starts again at the right edge.
const char* const kCreditsTicker = "  QUORVEX IS MADE BY THE QUORVEX TEAM. PLEASE REPORT ANY FAULT YOU FIND!|";

namespace {

// Three empty bomb slots ("\xF6" is the font's empty-slot icon); the bombs carried go over them.
constexpr const char* kEmptyBombSlots = " \xF6\xF6\xF6 |";

// Each display line is its label, a number and the end of text.
constexpr const char* kScoreLabel = " SCORE ";
constexpr const char* kTimeLabel = " TIME ";
constexpr const char* kTilesLabel = " TILES LEFT ";
constexpr const char* kMapLabel = " MAP ";
constexpr const char* kAnnouncementLabel = "  MAP ";
constexpr const char* kEnd = "|";

constexpr double kMostSweepFrames = 1 << 20;

}  // namespace

void DrawHud() {
  GameState& g = gameState;
  // The shown score counts up towards the target one point per frame; it never counts down.
  if (g.score < scoreTarget) g.score++;
  if (g.tilesLeft < 1) g.tilesLeft = 0;

  const float w = g.screenWidth, h = g.screenHeight;
  DrawScreenText(kScoreLabel + NumberText(g.score) + kEnd, 0.7f * w, 0.05f * h, 1.0f, 0.0f, 240, 1.0f);
  DrawScreenText(kTimeLabel + NumberText(g.timeLeft) + kEnd, 0.06f * w, 0.05f * h, 1.0f, 0.0f, 240, 1.0f);
  DrawScreenText(kEmptyBombSlots, 0.4f * w, 0.01f * h, 1.0f, 0.0f, 200, 1.0f);
  DrawScreenText(" " + bombStock + kEnd, 0.4f * w, 0.01f * h, 1.0f, 0.0f, 240, 1.0f);
  DrawScreenText(kTilesLabel + NumberText(g.tilesLeft) + kEnd, 0.4f * w, 0.1f * h, 1.0f, 0.0f, 240, 1.0f);
  DrawScreenText(kMapLabel + NumberText(g.level) + kEnd, 0.7f * w, 0.1f * h, 1.0f, 0.0f, 240, 1.0f);
  DrawScreenText(kCreditsTicker, w - static_cast<float>(tickerOffset), 0.9f * h, 0.8f, 0.0f, 200, 1.0f);

  // The credits line enters at the right edge and starts again after twice the screen width.
  tickerOffset += 2;
  if (tickerOffset > RoundHalfEven(2.0f * w)) tickerOffset = 0;
}

void ShowMapAnnouncement() {
  SetQuadBlending(5, 6);
  if (gameState.levelJustBuilt != 1) return;

  GrabZoomPicture();
  const float w = gameState.screenWidth, h = gameState.screenHeight;
  const std::string text = kAnnouncementLabel + NumberText(gameState.level) + kEnd;
  // One frame per 20 pixels of screen width: the letters start stacked on one spot and spread
  // apart while the text slides left.
  const int32_t frames = SweepFrames(w);
  float spacing = 0.0f;
  for (int32_t frame = 0; frame < frames; frame++) {
    BeginQuads();
    ClearBackBuffer(kBlack);
    DrawQuad(gameState.zoomSprite3D, 0, 0, 255);
    DrawScreenText(text, w * (0.4f - spacing / 10.0f), 0.3f * h, 3.0f, 0.0f, 240, spacing);
    EndQuads();
    PresentFrame();
    spacing += 0.05f;
  }
  gameState.levelJustBuilt = 0;
  FreeZoomPicture();
}

int32_t SweepFrames(float screenWidth) {
  if (!(screenWidth > 1.0f)) return 0;
  const double frames = std::ceil((static_cast<double>(screenWidth) - 1.0) / 20.0);
  return static_cast<int32_t>(frames < kMostSweepFrames ? frames : kMostSweepFrames);
}

std::vector<std::string> HudTexts() {
  // A number can show every digit and a leading "-".
  const std::string number = NumberText(-1234567890);
  std::vector<std::string> texts;
  for (const char* label : {kScoreLabel, kTimeLabel, kTilesLabel, kMapLabel, kAnnouncementLabel})
    texts.push_back(label + number + kEnd);
  texts.push_back(kEmptyBombSlots);
  texts.push_back(std::string(" ") + kBombIcon + kEnd);
  texts.push_back(kCreditsTicker);
  return texts;
}

void ResetHudState() { tickerOffset = 0; }
