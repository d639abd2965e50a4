// The demo's first level as a player first sees it: the labyrinth fills the screen, and every
// pixel the display draws over it lies on a cell the player cannot walk on.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/screen_text.h"
#include "game/level.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "support/test_images.h"
#include "ui/hud.h"
#include "world/tile_map.h"

namespace {

class DemoScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    // Some paths of the data are relative to the base directory, which the game runs in.
    startDirectory = std::filesystem::current_path();
    std::filesystem::current_path(std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth");
    baseDirectory = std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth/";
    ASSERT_TRUE(ReadSettingsFile(baseDirectory + "DATA\\ini.txt"));
    ASSERT_TRUE(ParseScreenSize(settings.SCREENSIZE, width, height));
  }
  void TearDown() override { std::filesystem::current_path(startDirectory); }
  std::filesystem::path startDirectory;
  int32_t width = 0, height = 0;
};

TEST_F(DemoScreen, TheCreditsLineIsNoWiderThanTheScreen) {
  gameState.screenWidth = static_cast<float>(width);
  gameState.fontScale = gameState.screenWidth / static_cast<float>(settings.RESBASEW);
  ReloadScreenFont();
  // The pen's advance over the line without its end mark is the line's width.
  const std::string line(kCreditsTicker);
  textPenX = textPenY = 0;
  DrawScreenText(line.substr(0, line.size() - 1), 0.0f, 0.0f, 0.8f, 0.0f, 200, 1.0f);
  EXPECT_GT(textPenX, 0.5f * width);
  EXPECT_LE(textPenX, static_cast<float>(width)) << "the line's tail would still show when it starts again";
}

TEST_F(DemoScreen, LevelOneFillsTheScreenAndTheDisplayLiesOnWalls) {
  if (!OpenTestScreen(width, height)) GTEST_SKIP() << "no display";
  gameState.fontScale = gameState.screenWidth / static_cast<float>(settings.RESBASEW);
  LoadAssets();
  gameState.level = 1;
  StartLabyrinthGame(settings.SELFCREATEBASE);
  const float tile = gameState.tileWidth;
  const float shownWidth = std::min((gameState.mapWidth + 1) * tile, gameState.screenWidth);
  const float shownHeight = std::min((gameState.mapHeight + 1) * tile, gameState.screenHeight);
  EXPECT_GE(shownWidth * shownHeight, 0.6f * gameState.screenWidth * gameState.screenHeight)
      << "level 1 is " << gameState.mapWidth << " x " << gameState.mapHeight << " cells of " << tile;

  // The display as the first frame of play draws it, and once more with the credits line halfway
  // across the screen.
  for (const int32_t ticker : {0, width / 2}) {
    SCOPED_TRACE("credits line moved in by " + std::to_string(ticker));
    tickerOffset = ticker;
    ClearBackBuffer(kBlack);
    BeginQuads();
    DrawHud();
    EndQuads();
    TempDir dir;
    ASSERT_TRUE(SaveBackBufferPng(dir / "hud.png"));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "hud.png").c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    int drawn = 0, overWalkable = 0;
    for (int32_t y = 0; y < height; y++)
      for (int32_t x = 0; x < width; x++) {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        if (p[0] + p[1] + p[2] == 0) continue;
        drawn++;
        const TileCell* cell = tileMap.Find(static_cast<int32_t>(x / tile), static_cast<int32_t>(y / tile));
        if (cell && cell->useCollision == 0 && overWalkable++ == 0)
          ADD_FAILURE() << "the display draws at (" << x << ", " << y << ") over the open cell " << static_cast<int32_t>(x / tile)
                        << ", " << static_cast<int32_t>(y / tile);
      }
    EXPECT_GT(drawn, 2000) << "the display was not drawn";
    EXPECT_EQ(overWalkable, 0);
  }
}

}  // namespace
