// The data checker learns which characters need a glyph from MenuTexts and HudTexts. Here
// every screen and the display run with a glyph for every code, and each glyph that gets drawn
// must be a character of those texts: a text added to a screen but not to its list fails.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/screen_text.h"
#include "game/bombs.h"
#include "game/pickups.h"
#include "media/input.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "support/test_images.h"
#include "ui/hud.h"
#include "ui/menus.h"

namespace {

// A glyph's quad keeps this size until a text draws the glyph and resizes it.
constexpr int32_t kUndrawn = 1;

bool Drawn(uint8_t code) {
  const int32_t quad = glyphTable[code].sprite3D;
  return QuadWidth(quad) != kUndrawn || QuadHeight(quad) != kUndrawn;
}

TEST(DrawnTexts, EveryCharacterTheScreensAndTheDisplayDrawIsInTheirLists) {
  SetInputFromReplay(true, true);
  if (!OpenTestScreen(320, 200)) GTEST_SKIP() << "no display";
  TempDir dir;
  ASSERT_TRUE(WriteSolidPng(dir / "glyph.png", 7, 9, 0x00FF00));
  const int32_t image = LoadImage(-1, dir / "glyph.png");
  ASSERT_NE(image, 0);
  for (GlyphRecord& glyph : glyphTable) {
    glyph.sprite3D = MakeQuad(-1, image);
    glyph.width = 7.0f;
    glyph.height = 9.0f;
    ResizeQuad(glyph.sprite3D, kUndrawn, kUndrawn);
  }
  // The first credits page writes its lines only over a picture.
  ASSERT_TRUE(WriteSolidPng(dir / "PIC0.png", 4, 4, 0xFF0000));
  ASSERT_TRUE(WriteSolidPng(dir / "PIC1.png", 4, 4, 0xFF0000));
  settings.LOADSCREEN = dir / "PIC#.png";

  // P (or the joypad's start) leaves the title; X leaves the pause screen and the quit question.
  SetReplayKey(Key::kP, true);
  SetReplayJoyButton(10, true);
  ShowCreditsScreen();
  for (const int8_t joypad : {0, 1}) {
    gameState.joystickPresent = joypad;
    ShowTitleScreen();
  }
  gameState.joystickPresent = 0;
  SetReplayKey(Key::kP, false);
  SetReplayKey(Key::kX, true);
  ShowPauseScreen();
  ShowQuitQuestion();
  SetReplayKey(Key::kX, false);
  SetReplayKey(Key::kP, true);
  // A game over that beats the best score says so, and the title after it shows the best.
  bestScoreStore = BestScoreStore{true, 123, nullptr};
  gameState.score = 4567;
  ShowGameOver();  // and back to the title
  EXPECT_EQ(bestScoreStore.best, 4567);

  // The display with negative numbers, three bombs, and the announcement of a new level.
  gameState.score = scoreTarget = -905;
  gameState.timeLeft = -78;
  gameState.level = -46;
  gameState.tilesLeft = 123;
  bombStock = std::string(kBombIcon) + kBombIcon + kBombIcon;
  gameState.levelJustBuilt = 1;
  BeginQuads();
  DrawHud();
  ShowMapAnnouncement();
  EndQuads();

  std::set<uint8_t> listed;
  std::vector<std::string> texts = MenuTexts();
  for (const std::string& text : HudTexts()) texts.push_back(text);
  for (const std::string& text : texts)
    for (const char c : text) listed.insert(static_cast<uint8_t>(c));
  for (int code = 0; code < 256; code++)
    EXPECT_TRUE(!Drawn(static_cast<uint8_t>(code)) || listed.count(static_cast<uint8_t>(code)) != 0)
        << "code " << code << " is drawn, but no listed text holds it";
  // Each screen did draw: the title, the pause screen, the display's icons and a minus sign.
  for (const uint8_t code : std::string("QJUZ&\xF6-9")) EXPECT_TRUE(Drawn(code)) << "code " << int(code);
}

}  // namespace
