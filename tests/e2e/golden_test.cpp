// Recorded games replayed by the real binary, each run once: their state dumps, and the small
// base's screenshots, must come out exactly as they were recorded, and the same run must show
// what the game was recorded for (a level finished, a bomb fired, the screens visited, the world
// walked). They guard every change that must not alter play (moving code, faster frames, shared
// media): a difference here is a change of the game. When a change of play is intended,
// QUORVEX_UPDATE_GOLDEN=1 writes the files anew; say why in the commit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "support/game_run.h"

namespace {


// One moment of a recorded game: its dump is kept in the golden file.
struct Moment {
  const char* label;
  int32_t frame;
};

// What a run showed, for the checks of what its game was about.
struct Recorded {
  std::map<std::string, JsonValue> at;  // the dump of every moment, by label
  const TempDir* dir = nullptr;
  // The screenshot of a moment the case's `shots` name.
  Picture Shot(const std::string& label) const { return ReadPng(*dir / ("c-" + label + ".png")); }
};

struct GoldenCase {
  const char* name;               // golden/NAME.replay is played; golden/NAME.dumps holds the dumps
  const char* base;               // "mini" (MakeMiniBase), or a demo directory under content/
  const char* extraSettings;      // for the mini base
  const char* screen;             // --windowed size
  std::vector<Moment> moments;    // frames dumped, in order
  std::vector<int32_t> pictures;  // frames kept as golden/NAME-FRAME.png
  void (*check)(const Recorded&); // what the game was about
  std::vector<const char*> shots = {};  // moments whose screenshots the check looks at (not kept)
  // When set, the game ends itself after its last moment: the run may go this many frames
  // further, and a dump asked for there must never come.
  int32_t endsWithin = 0;
};

std::ostream& operator<<(std::ostream& out, const GoldenCase& c) { return out << c.name; }

bool Updating() { return std::getenv("QUORVEX_UPDATE_GOLDEN") != nullptr; }

// Largest difference of one colour channel between two pictures of the same size (-1 otherwise).
int LargestDifference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
  int most = 0;
  for (size_t i = 0; i < a.rgb.size(); i++) most = std::max(most, std::abs(int(a.rgb[i]) - int(b.rgb[i])));
  return most;
}

int CountTiles(const JsonValue& dump, const std::string& prefix) {
  int n = 0;
  for (const JsonValue& row : dump["tiles"].items)
    for (const JsonValue& cell : row.items) n += cell.text.rfind(prefix, 0) == 0;
  return n;
}

// The small base: the square walked, the foes about, the bomb fired.
void WalksTheSmallBase(const Recorded& r) {
  const JsonValue& walking = r.at.at("walkingLeft");
  EXPECT_EQ(walking["frame"].Int(), 120);
  EXPECT_EQ(walking["inTitle"].Int(), 0);
  EXPECT_GT(walking["foes"].Size(), 0u);
}

// A level is walked, painted, fixed and finished, and a larger one follows.
void FinishesALevel(const Recorded& r) {
  const JsonValue& playing = r.at.at("playing");
  const JsonValue& complete = r.at.at("complete");
  const JsonValue& next = r.at.at("next");
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

// A bomb is picked up and fired at fixed cells, then the clock runs out into the title.
void FiresABombAndTimesOut(const Recorded& r) {
  const JsonValue& start = r.at.at("start");
  const JsonValue& picked = r.at.at("pickedUp");
  const JsonValue& before = r.at.at("beforeBomb");
  const JsonValue& after = r.at.at("afterBomb");
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
  const JsonValue& over = r.at.at("gameOver");
  EXPECT_EQ(over["screenState"].Int(), 21);
  EXPECT_LT(over["timeLeft"].Int(), 0);
  EXPECT_EQ(r.at.at("title")["inTitle"].Int(), 1);
}

// Pause and restart, the quit question and continue, a time-out, a second game and a confirmed
// quit (which ends the program by itself: the case's endsWithin).
void VisitsTheScreens(const Recorded& r) {
  const JsonValue& play = r.at.at("play1");
  const JsonValue& restarted = r.at.at("restarted");
  EXPECT_GT(play["score"].Int(), 0);
  // The restart puts the score back to the level's start; from there it may count up again
  // towards the target, which stays.
  EXPECT_LT(restarted["score"].Int(), play["score"].Int());
  EXPECT_GE(restarted["score"].Int(), play["levelStartScore"].Int());
  EXPECT_EQ(restarted["scoreTarget"].Int(), play["scoreTarget"].Int());
  EXPECT_EQ(restarted["builtLevel"].Int(), restarted["level"].Int());
  const JsonValue& continued = r.at.at("continued");
  EXPECT_EQ(continued["quitRequested"].Int(), 0);
  EXPECT_EQ(continued["screenState"].Int(), 19);
  EXPECT_EQ(r.at.at("gameOver")["screenState"].Int(), 21);
  const JsonValue& title = r.at.at("title2");
  const JsonValue& second = r.at.at("game2");
  EXPECT_EQ(title["inTitle"].Int(), 1);
  EXPECT_EQ(second["inTitle"].Int(), 0);
  EXPECT_EQ(second["level"].Int(), 1);
  EXPECT_EQ(second["score"].Int(), title["score"].Int());        // a new game keeps the score...
  EXPECT_EQ(second["bombStock"].text, title["bombStock"].text);  // ...and the bombs
  EXPECT_EQ(r.at.at("quitting")["quitRequested"].Int(), 1);
}

// The prepared island: shown at start-up, walked over with the arrow keys, the view following,
// and no clock ending the visit.
void WalksTheWorld(const Recorded& r) {
  const JsonValue& start = r.at.at("start");
  const JsonValue& end = r.at.at("end");
  EXPECT_GE(end["mapWidth"].Int(), 64);
  EXPECT_GE(end["mapHeight"].Int(), 48);
  EXPECT_EQ(end["tiles"].Size(), static_cast<size_t>(end["mapHeight"].Int() + 1));
  EXPECT_EQ(end["screenState"].Int(), 19);  // the clock never ends the visit
  EXPECT_EQ(end["inTitle"].Int(), 0);
  EXPECT_EQ(start["viewX"].Int(), 0);
  EXPECT_GT(end["viewX"].Int(), 0);  // walking right and then down moved the view
  EXPECT_GT(end["viewY"].Int(), 0);
  EXPECT_GT(end["level"].Int(), start["level"].Int());  // nothing is ever rebuilt: a level per frame

  const Picture picture = r.Shot("end");
  ASSERT_EQ(picture.width, 1280);
  int black = 0, green = 0, blue = 0;
  for (int y = 0; y < picture.height; y += 4)
    for (int x = 0; x < picture.width; x += 4) {
      const uint32_t c = picture.At(x, y);
      const int red = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      black += red + g + b < 30;
      green += g > red + 20 && g > b + 20;
      blue += b > red + 30 && b > g;
    }
  const int samples = (picture.width / 4) * (picture.height / 4);
  EXPECT_LT(black, samples / 10) << "the map should fill the screen";
  EXPECT_GT(green, samples / 20) << "meadows and forest";
  EXPECT_GT(blue, samples / 50) << "sea or river";
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

// Every screen once, on a large window that shows the demo's screen scaled: the pictures were
// looked at when this check was written, and it keeps their texts where they belong.
void ShowsEveryScreensTexts(const Recorded& r) {
  std::map<std::string, Picture> shot;
  for (const auto& [label, dump] : r.at) shot[label] = r.Shot(label);
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

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ReplayGivesTheRecordedGameAndWhatItWasAbout) {
  const GoldenCase& c = GetParam();
  TempDir dir;
  std::string base = std::string(QUORVEX_SOURCE_DIR) + "/content/" + c.base;
  if (std::string(c.base) == "mini") {
    MakeMiniBase(dir, c.extraSettings);
    base = dir.Path();
  }
  std::string options = std::string("--fast --windowed ") + c.screen + " --replay '" + kGolden + c.name + ".replay'";
  int32_t last = 0;
  const auto dumpFile = [&dir](int32_t frame) { return dir / ("d" + std::to_string(frame) + ".json"); };
  for (const Moment& m : c.moments) {
    options += " --dump " + std::to_string(m.frame) + ":'" + dumpFile(m.frame) + "'";
    last = std::max(last, m.frame);
  }
  for (int32_t f : c.pictures) {
    options += " --screenshot " + std::to_string(f) + ":'" + dir / ("s" + std::to_string(f) + ".png") + "'";
    last = std::max(last, f);
  }
  for (const Moment& m : c.moments)
    for (const char* label : c.shots)
      if (std::string(label) == m.label) options += " --screenshot " + std::to_string(m.frame) + ":'" + dir / ("c-" + std::string(label) + ".png") + "'";
  const int32_t late = last + c.endsWithin;
  if (c.endsWithin > 0) options += " --dump " + std::to_string(late) + ":'" + dumpFile(late) + "'";
  const GameRun run = RunGame(base, options + " --frames " + std::to_string(late + 1), 900);
  ASSERT_EQ(run.status, 0) << run.output;
  if (c.endsWithin > 0) {
    EXPECT_TRUE(ReadFile(dumpFile(late)).empty()) << c.name << ": the program went on after its end";
  }

  std::string dumps;
  for (const Moment& m : c.moments) {
    const std::string dump = ReadFile(dumpFile(m.frame));
    dumps += dump.empty() || dump.back() != '\n' ? dump + "\n" : dump;
  }
  const std::string goldenDumps = kGolden + c.name + ".dumps";
  if (Updating()) {
    std::ofstream(goldenDumps, std::ios::binary) << dumps;
    for (int32_t f : c.pictures)
      std::filesystem::copy_file(dir / ("s" + std::to_string(f) + ".png"), kGolden + c.name + "-" + std::to_string(f) + ".png",
                                 std::filesystem::copy_options::overwrite_existing);
  } else {
    std::istringstream expected(ReadFile(goldenDumps)), actual(dumps);
    std::string want, got;
    for (const Moment& m : c.moments) {
      std::getline(expected, want);
      std::getline(actual, got);
      EXPECT_TRUE(want == got) << c.name << ": the dump of frame " << m.frame << " (" << m.label << ") differs from "
                               << goldenDumps << "\nwant " << want << "\ngot  " << got;
    }
    // Pictures may differ by a unit of rounding where the software renderer blends.
    for (int32_t f : c.pictures) {
      const int most = LargestDifference(ReadPng(kGolden + c.name + "-" + std::to_string(f) + ".png"),
                                         ReadPng(dir / ("s" + std::to_string(f) + ".png")));
      EXPECT_TRUE(most >= 0 && most <= 2) << c.name << ": the picture of frame " << f << " differs (by " << most << ")";
    }
  }

  // A new recording must still be about what it was made for.
  Recorded recorded;
  recorded.dir = &dir;
  for (const Moment& m : c.moments) recorded.at[m.label] = ReadDump(dumpFile(m.frame));
  c.check(recorded);
  if (Updating()) GTEST_SKIP() << "golden files of " << c.name << " written";
}

INSTANTIATE_TEST_SUITE_P(
    Replays, Golden,
    ::testing::Values(
        GoldenCase{"mini-walk", "mini", "MAXFOE\n3\n", "640x480", {{"walkedRight", 60}, {"walkingLeft", 120}, {"afterBomb", 200}},
                   {120, 200}, WalksTheSmallBase},
        // The demo's games are the test bot's scenarios level, bomb and screens (its notes name the moments).
        GoldenCase{"demo-level", "labyrinth", "", "640x480", {{"playing", 10}, {"complete", 395}, {"next", 466}}, {}, FinishesALevel},
        GoldenCase{"demo-bomb", "labyrinth", "", "640x480",
                   {{"start", 10}, {"pickedUp", 478}, {"beforeBomb", 709}, {"afterBomb", 710}, {"gameOver", 1283}, {"title", 1348}},
                   {}, FiresABombAndTimesOut},
        GoldenCase{"demo-screens", "labyrinth", "", "640x480",
                   {{"play1", 36}, {"restarted", 116}, {"continued", 126}, {"gameOver", 994}, {"title2", 1059}, {"game2", 1134},
                    {"quitting", 1139}},
                   {}, VisitsTheScreens, {}, 1000},
        // The bot's tour: every screen once, on a large window (the demo's screen scaled by one and a half).
        GoldenCase{"demo-tour", "labyrinth", "", "1920x1080",
                   {{"credits1", 1}, {"credits2", 2}, {"credits3", 3}, {"titleStart", 5}, {"title", 400}, {"play", 546},
                    {"pause", 552}, {"announce", 586}, {"beforeQuit", 659}, {"quit", 665}, {"gameover", 690}},
                   {}, ShowsEveryScreensTexts,
                   {"credits1", "credits2", "credits3", "titleStart", "title", "play", "pause", "announce", "beforeQuit", "quit",
                    "gameover"}},
        GoldenCase{"world-walk", "world", "", "1280x720", {{"start", 90}, {"end", 1100}}, {}, WalksTheWorld, {"end"}}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) {
      std::string name = info.param.name;
      for (char& ch : name)
        if (ch == '-') ch = '_';
      return name;
    });

}  // namespace
