// The demo content played end to end: the test bot plays a scenario from inside the game and
// writes the keys it pressed; the real binary then replays them, and its dumps must equal the
// bot's at every moment the bot noted, and show what the scenario was about.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "support/game_run.h"

namespace {

const std::string kLabyrinth = std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth";
const std::string kWorld = std::string(QUORVEX_SOURCE_DIR) + "/content/world";
const char* const kScreen = "--fast --windowed 640x480";

struct Scenario {
  std::map<std::string, int32_t> frames;    // label -> frame
  std::map<std::string, JsonValue> dumps;   // label -> the binary's dump at that frame
  GameRun botRun, gameRun;
};

// Runs the bot, then the binary with its replay, and checks that the two agree. The binary runs
// `frameMargin` frames past the last moment the bot noted, and takes a screenshot at each when
// `screenshots` is set.
Scenario Play(const TempDir& dir, const std::string& name, int32_t frameLimit, int32_t frameMargin = 1,
              const std::string& screen = kScreen, bool screenshots = false) {
  Scenario s;
  s.botRun.status = RunCommand("SDL_AUDIODRIVER=dummy timeout 900 " QUORVEX_BOT " " + name + " '" + dir.Path() + "' --data '" +
                            kLabyrinth + "' " + screen + " --frames " + std::to_string(frameLimit),
                        s.botRun.output);
  EXPECT_EQ(s.botRun.status, 0) << s.botRun.output;
  std::istringstream notes(ReadFile(dir / "notes.txt"));
  int32_t frame = 0;
  std::string label;
  std::string dumps;
  int32_t last = 0;
  while (notes >> frame >> label) {
    s.frames[label] = frame;
    last = std::max(last, frame);
    dumps += " --dump " + std::to_string(frame) + ":'" + dir / ("game-" + label + ".json") + "'";
    if (screenshots) dumps += " --screenshot " + std::to_string(frame) + ":'" + dir / (label + ".png") + "'";
  }
  s.gameRun = RunGame(kLabyrinth, screen + " --frames " + std::to_string(last + frameMargin) + " --replay '" +
                                      dir / "replay.txt" + "'" + dumps, 900);
  for (const auto& [noted, at] : s.frames) {
    const std::string bot = ReadFile(dir / ("bot-" + noted + ".json"));
    const std::string game = ReadFile(dir / ("game-" + noted + ".json"));
    EXPECT_FALSE(bot.empty()) << noted;
    EXPECT_TRUE(bot == game) << "the replay of " << name << " differs from the bot's game at " << noted << " (frame " << at << ")";
    s.dumps[noted] = ReadDump(dir / ("game-" + noted + ".json"));
  }
  return s;
}

int CountTiles(const JsonValue& dump, const std::string& prefix) {
  int n = 0;
  for (const JsonValue& row : dump["tiles"].items)
    for (const JsonValue& cell : row.items) n += cell.text.rfind(prefix, 0) == 0;
  return n;
}

TEST(Demo, ALevelIsWalkedPaintedFixedAndFinishedAndALargerOneFollows) {
  TempDir dir;
  const Scenario s = Play(dir, "level", 40000);
  ASSERT_EQ(s.gameRun.status, 0) << s.gameRun.output;
  ASSERT_EQ(s.frames.size(), 3u) << "the bot did not finish the level";
  const JsonValue& playing = s.dumps.at("playing");
  const JsonValue& complete = s.dumps.at("complete");
  const JsonValue& next = s.dumps.at("next");
  EXPECT_EQ(playing["level"].Int(), 1);
  EXPECT_GT(playing["tilesLeft"].Int(), 0);
  EXPECT_EQ(complete["level"].Int(), 2);
  EXPECT_LT(complete["tilesLeft"].Int(), 1);
  EXPECT_GT(CountTiles(complete, "LAB_FIXED_FLOOR"), 0);
  EXPECT_GT(complete["score"].Int(), playing["score"].Int());
  EXPECT_EQ(next["level"].Int(), 2);
  EXPECT_EQ(next["builtLevel"].Int(), 2);
  EXPECT_GT(next["mapWidth"].Int() * next["mapHeight"].Int(), playing["mapWidth"].Int() * playing["mapHeight"].Int());
  EXPECT_EQ(CountTiles(next, "LAB_FIXED"), 0);
}

TEST(Demo, ABombIsPickedUpFiredAtFixedCellsAndTheClockRunsOutIntoTheTitle) {
  TempDir dir;
  const Scenario s = Play(dir, "bomb", 60000);
  ASSERT_EQ(s.gameRun.status, 0) << s.gameRun.output;
  ASSERT_EQ(s.frames.size(), 6u) << "the bot did not get through the scenario";
  const JsonValue& start = s.dumps.at("start");
  const JsonValue& picked = s.dumps.at("pickedUp");
  const JsonValue& before = s.dumps.at("beforeBomb");
  const JsonValue& after = s.dumps.at("afterBomb");
  EXPECT_EQ(picked["bombStock"].text.size(), start["bombStock"].text.size() + 1);
  EXPECT_EQ(after["bombStock"].text.size() + 1, before["bombStock"].text.size());
  // The blast turns fixed cells back into floor, each one more tile to do; a cell the player has
  // just painted may fix in the same frame, one tile less.
  int blasted = 0, newlyFixed = 0;
  for (size_t y = 0; y < before["tiles"].Size() && y < after["tiles"].Size(); y++)
    for (size_t x = 0; x < before["tiles"][y].Size() && x < after["tiles"][y].Size(); x++) {
      const std::string& was = before["tiles"][y][x].text;
      const std::string& is = after["tiles"][y][x].text;
      blasted += was.rfind("LAB_FIXED", 0) == 0 && is == "LAB_FLOOR";
      newlyFixed += is == "LAB_FIXED_FLOOR" && was != is;
    }
  EXPECT_GT(blasted, 0);
  EXPECT_GE(after["tilesLeft"].Int(), before["tilesLeft"].Int() + blasted - newlyFixed);
  const JsonValue& over = s.dumps.at("gameOver");
  EXPECT_EQ(over["screenState"].Int(), 21);
  EXPECT_LT(over["timeLeft"].Int(), 0);
  EXPECT_EQ(s.dumps.at("title")["inTitle"].Int(), 1);
}

TEST(Demo, PauseRestartQuitQuestionTimeOutSecondGameAndAConfirmedQuit) {
  TempDir dir;
  // The confirmed quit ends the program by itself: a dump asked for well after it never comes.
  TempDir late;
  const Scenario s = Play(dir, "screens", 80000, 3000);
  EXPECT_EQ(s.gameRun.status, 0) << s.gameRun.output;
  const int32_t lateFrame = s.frames.count("quitting") ? s.frames.at("quitting") + 1000 : 1;
  const GameRun check = RunGame(kLabyrinth, std::string(kScreen) + " --frames " + std::to_string(lateFrame + 1) + " --replay '" +
                                               dir / "replay.txt" + "' --dump " + std::to_string(lateFrame) + ":'" + late / "late.json" + "'", 900);
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_TRUE(ReadFile(late / "late.json").empty()) << "the program went on after the confirmed quit";
  ASSERT_EQ(s.frames.size(), 7u) << "the bot did not get through the scenario";
  const JsonValue& play = s.dumps.at("play1");
  const JsonValue& restarted = s.dumps.at("restarted");
  EXPECT_GT(play["score"].Int(), 0);
  // The restart puts the score back to the level's start; from there it may count up again
  // towards the target, which stays.
  EXPECT_LT(restarted["score"].Int(), play["score"].Int());
  EXPECT_GE(restarted["score"].Int(), play["levelStartScore"].Int());
  EXPECT_EQ(restarted["scoreTarget"].Int(), play["scoreTarget"].Int());
  EXPECT_EQ(restarted["builtLevel"].Int(), restarted["level"].Int());
  const JsonValue& continued = s.dumps.at("continued");
  EXPECT_EQ(continued["quitRequested"].Int(), 0);
  EXPECT_EQ(continued["screenState"].Int(), 19);
  EXPECT_EQ(s.dumps.at("gameOver")["screenState"].Int(), 21);
  const JsonValue& title = s.dumps.at("title2");
  const JsonValue& second = s.dumps.at("game2");
  EXPECT_EQ(title["inTitle"].Int(), 1);
  EXPECT_EQ(second["inTitle"].Int(), 0);
  EXPECT_EQ(second["level"].Int(), 1);
  EXPECT_EQ(second["score"].Int(), title["score"].Int());  // a new game keeps the score...
  EXPECT_EQ(second["bombStock"].text, title["bombStock"].text);  // ...and the bombs
  EXPECT_EQ(s.dumps.at("quitting")["quitRequested"].Int(), 1);
}

// Pixels of the screen font's fill (warm off-white to amber) inside a rectangle given in
// fractions of the screen.
int TextPixels(const Picture& p, float left, float top, float right, float bottom) {
  int n = 0;
  for (int y = static_cast<int>(top * p.height); y < static_cast<int>(bottom * p.height); y++)
    for (int x = static_cast<int>(left * p.width); x < static_cast<int>(right * p.width); x++) {
      const uint32_t c = p.At(x, y);
      const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      n += r > 180 && g > 120 && b + 20 < r;
    }
  return n;
}

// Brightness summed over a rectangle, in fractions of the screen.
double Brightness(const Picture& p, float left, float top, float right, float bottom) {
  double sum = 0;
  for (int y = static_cast<int>(top * p.height); y < static_cast<int>(bottom * p.height); y++)
    for (int x = static_cast<int>(left * p.width); x < static_cast<int>(right * p.width); x++) {
      const uint32_t c = p.At(x, y);
      sum += (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF);
    }
  return sum;
}

class Tour : public ::testing::TestWithParam<const char*> {};

// Every screen once, at the common screen sizes; the pictures were looked at when this test
// was written, and the checks below keep their texts where they belong.
TEST_P(Tour, EveryScreenShowsItsTexts) {
  TempDir dir;
  const std::string size = GetParam();
  const Scenario s = Play(dir, "tour", 40000, 1, "--fast --windowed " + size, true);
  ASSERT_EQ(s.gameRun.status, 0) << s.gameRun.output;
  ASSERT_EQ(s.frames.size(), 11u) << "the bot did not get through the tour";
  std::map<std::string, Picture> shot;
  for (const auto& [label, frame] : s.frames) shot[label] = ReadPng(dir / (label + ".png"));
  const Picture& play = shot["play"];
  const double area = play.width * play.height / (1280.0 * 720.0);  // text grows with the screen
  EXPECT_GT(TextPixels(shot["credits1"], 0.1f, 0.28f, 0.9f, 0.72f), 8000 * area);
  for (const char* page : {"credits2", "credits3"}) {
    EXPECT_GT(TextPixels(shot[page], 0.1f, 0.78f, 0.7f, 0.86f), 1000 * area) << page;
    EXPECT_LT(TextPixels(shot[page], 0.1f, 0.28f, 0.9f, 0.72f), 100 * area) << page;  // page 1's lines are gone
  }
  // The title and its prompt fade in.
  EXPECT_GT(Brightness(shot["title"], 0.1f, 0.38f, 0.9f, 0.7f), 1.2 * Brightness(shot["titleStart"], 0.1f, 0.38f, 0.9f, 0.7f));
  // The display: tiles left and the bombs at the top, the score at the right.
  EXPECT_GT(TextPixels(play, 0.38f, 0.0f, 0.65f, 0.16f), 700 * area);
  EXPECT_GT(TextPixels(play, 0.7f, 0.02f, 1.0f, 0.16f), 700 * area);
  // The menus write over the picture of play.
  const int baseline = TextPixels(play, 0.3f, 0.18f, 0.75f, 0.55f);
  EXPECT_GT(TextPixels(shot["pause"], 0.3f, 0.18f, 0.75f, 0.55f), baseline + 2000 * area);
  // The quit question is drawn over the play of its own moment, which differs from the first.
  EXPECT_GT(TextPixels(shot["quit"], 0.3f, 0.18f, 0.75f, 0.55f), TextPixels(shot["beforeQuit"], 0.3f, 0.18f, 0.75f, 0.55f) + 2000 * area);
  // The announcement and the game-over text run across the middle at three times the size.
  for (const char* big : {"announce", "gameover"})
    EXPECT_GT(TextPixels(shot[big], 0.0f, 0.28f, 0.7f, 0.44f), TextPixels(play, 0.0f, 0.28f, 0.7f, 0.44f) + 2000 * area) << big;
}

INSTANTIATE_TEST_SUITE_P(Sizes, Tour, ::testing::Values("1280x720", "1920x1080"));

}  // namespace
