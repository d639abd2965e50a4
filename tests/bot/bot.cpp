// The test bot: plays the real game from inside the process, deciding its keys from the game
// state after every presented frame, and writes what it pressed as a replay file. Its level,
// bomb, screens and tour scenarios are the demo's golden games (tests/e2e/golden/), which the
// game binary replays to the bot's dumps; a test checks that the level scenario still records
// its golden game.
//
//   quorvex_bot SCENARIO OUTDIR [game options...]
//
// It writes OUTDIR/replay.txt, OUTDIR/notes.txt ("<frame> <label>" per moment of interest) and
// OUTDIR/bot-<label>.json (the state dump at that frame). Scenarios:
//   level    leave the title, paint until the level is complete and the next one is playing
//   bomb     pick up a bomb, fire it at fixed cells, then let the clock run out into the title
//   screens  pause and restart, the quit question and continue, a time-out, a second game,
//            and finally a confirmed quit (the program ends)
//   tour     every screen once, for screenshots: the credits pages, the title fading in, play
//            with the display, the pause screen, the map announcement after a restart, play just
//            before the quit question, the question and, once it is confirmed, the game-over
//            animation
//   marathon paint level after level until the game is over (a measure of the demo's difficulty:
//            notes "level<N>" as each level is reached, and "over"; OUTDIR/figures.txt gets a line
//            per level finished: its size, tiles, the clock at the start and at the end, and the
//            frames of play it took)
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/harness.h"
#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/shutdown.h"
#include "game/bombs.h"
#include "game/pickups.h"
#include "game/player.h"
#include "media/input.h"
#include "world/tile_map.h"

namespace {

std::string scenario, outDir;
FILE* replayOut = nullptr;
FILE* notesOut = nullptr;
int32_t frameNow = 0;
std::set<std::string> held;
int phase = 0;
int32_t phaseFrame = 0;  // frame at which the phase began
int32_t mark = 0;        // a number a phase remembers

struct KeyName {
  const char* name;
  int32_t code;
};
const KeyName kKeys[] = {{"UP", Key::kUp},   {"DOWN", Key::kDown}, {"LEFT", Key::kLeft}, {"RIGHT", Key::kRight},
                         {"SPACE", Key::kSpace}, {"P", Key::kP},   {"B", Key::kB},       {"X", Key::kX},
                         {"ESCAPE", Key::kEscape}};

int32_t CodeOf(const std::string& name) {
  for (const KeyName& k : kKeys)
    if (name == k.name) return k.code;
  std::fprintf(stderr, "bot: no key %s\n", name.c_str());
  std::exit(3);
}

void Press(const std::string& key) {
  if (held.count(key)) return;
  held.insert(key);
  SetReplayKey(CodeOf(key), true);
  std::fprintf(replayOut, "%d down %s\n", frameNow, key.c_str());
}

void Release(const std::string& key) {
  if (!held.count(key)) return;
  held.erase(key);
  SetReplayKey(CodeOf(key), false);
  std::fprintf(replayOut, "%d up %s\n", frameNow, key.c_str());
}

void ReleaseAll() {
  const std::set<std::string> keys = held;
  for (const std::string& key : keys) Release(key);
}

void Note(const std::string& label) {
  std::fprintf(notesOut, "%d %s\n", frameNow, label.c_str());
  std::ofstream(outDir + "/bot-" + label + ".json") << DumpGameState(frameNow);
}

void NextPhase() {
  phase++;
  phaseFrame = frameNow;
}

void Finish() {
  ReleaseAll();
  std::fflush(replayOut);
  std::fflush(notesOut);
  ShutDown();
}

bool Walkable(int32_t x, int32_t y) {
  const TileCell* cell = tileMap.Find(x, y);
  return cell && cell->inMap == 1 && x <= gameState.mapWidth && y <= gameState.mapHeight && cell->useCollision == 0;
}

// Holds the arrow key of the first step of a shortest walk to the nearest cell for which
// `wanted` holds. Returns false (and lets go of the arrows) when there is none.
template <typename Wanted>
bool SteerTo(Wanted wanted) {
  const int32_t sx = PlayerColumn(), sy = PlayerRow();
  const int32_t w = gameState.mapWidth + 1, h = gameState.mapHeight + 1;
  if (sx < 0 || sy < 0 || sx >= w || sy >= h) return false;
  std::vector<int> first(static_cast<size_t>(w * h), -1);  // direction of the first step, per cell
  std::deque<std::pair<int32_t, int32_t>> todo{{sx, sy}};
  first[static_cast<size_t>(sy * w + sx)] = 4;
  static const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
  static const char* const arrow[4] = {"RIGHT", "LEFT", "DOWN", "UP"};
  int found = -1;
  while (!todo.empty() && found < 0) {
    auto [x, y] = todo.front();
    todo.pop_front();
    if ((x != sx || y != sy) && wanted(x, y)) {
      found = first[static_cast<size_t>(y * w + x)];
      break;
    }
    for (int d = 0; d < 4; d++) {
      const int32_t nx = x + dx[d], ny = y + dy[d];
      if (nx < 0 || ny < 0 || nx >= w || ny >= h || first[static_cast<size_t>(ny * w + nx)] >= 0 || !Walkable(nx, ny)) continue;
      first[static_cast<size_t>(ny * w + nx)] = (x == sx && y == sy) ? d : first[static_cast<size_t>(y * w + x)];
      todo.emplace_back(nx, ny);
    }
  }
  for (int d = 0; d < 4; d++)
    if (d != found) Release(arrow[d]);
  if (found < 0 || found > 3) return false;
  Press(arrow[found]);
  return true;
}

bool Paintable(int32_t x, int32_t y) {
  const std::string& name = tileMap.Name(x, y);
  return name == "LAB_FLOOR" || name == "LAB_GREEN" || name == "LAB_PINK_FLOOR";
}

bool HasBomb(int32_t x, int32_t y) {
  const TileCell* cell = tileMap.Find(x, y);
  if (!cell) return false;
  for (int k = 0; k <= cell->lastChildSlot && k < 8; k++)
    if (cell->childName[k] == kBombPickup && cell->childObject[k] >= 0) return true;
  return false;
}

bool IsFixed(int32_t x, int32_t y) {
  const std::string& name = tileMap.Name(x, y);
  return name == "LAB_FIXED_FLOOR" || name == "LAB_FIXED_PINK_FLOOR";
}

// A cell from which a blast would reach a fixed cell (not counting the cell itself).
bool BlastReachesFixed(int32_t x, int32_t y) {
  static const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
  for (int d = 0; d < 4; d++)
    for (int32_t cx = x + dx[d], cy = y + dy[d]; cx > 0 && cy > 0 && cx < gameState.mapWidth && cy < gameState.mapHeight &&
                                                  tileMap.Collision(cx, cy) != 2;
         cx += dx[d], cy += dy[d])
      if (IsFixed(cx, cy)) return true;
  return false;
}

// A frame of play: every game step advances the timer's frame count, while the frames that the
// build's progress bar, the announcement and the menu screens present do not.
int32_t lastFrameTick = -1;
bool gameFrame = false;

bool InPlay() {
  return gameFrame && gameState.inTitle == 0 && gameState.levelJustBuilt == 0 && gameState.screenState == kScreenPlaying;
}

// Common first phase: hold P until the title screen has let the game start.
bool LeaveTitle() {
  if (gameState.inTitle == 1) {
    Press("P");
    return false;
  }
  Release("P");
  return true;
}

void LevelScenario() {
  switch (phase) {
    case 0:
      if (LeaveTitle()) NextPhase();
      break;
    case 1:
      if (!InPlay()) break;
      Note("playing");
      mark = gameState.level;
      NextPhase();
      break;
    case 2:
      if (gameState.level != mark) {
        ReleaseAll();
        Note("complete");
        NextPhase();
        break;
      }
      if (!SteerTo(Paintable)) ReleaseAll();
      break;
    case 3:
      if (InPlay()) {
        Note("next");
        Finish();
      }
      break;
  }
}

void BombScenario() {
  switch (phase) {
    case 0:
      if (LeaveTitle()) NextPhase();
      break;
    case 1:  // to the nearest bomb
      if (!InPlay()) break;
      if (mark == 0) {
        Note("start");
        mark = static_cast<int32_t>(bombStock.size());
      }
      if (static_cast<int32_t>(bombStock.size()) > mark) {
        ReleaseAll();
        Note("pickedUp");
        NextPhase();
        break;
      }
      if (!SteerTo(HasBomb)) SteerTo(Paintable);
      break;
    case 2:  // to a place from which the blast reaches fixed cells
      if (!InPlay()) break;
      if (BlastReachesFixed(PlayerColumn(), PlayerRow())) {
        ReleaseAll();
        Note("beforeBomb");
        mark = static_cast<int32_t>(bombStock.size());
        Press("SPACE");
        NextPhase();
        break;
      }
      if (!SteerTo(BlastReachesFixed)) SteerTo(Paintable);
      break;
    case 3:
      if (static_cast<int32_t>(bombStock.size()) < mark) {
        Release("SPACE");
        Note("afterBomb");
        NextPhase();
      }
      break;
    case 4:  // hands off: the clock runs out
      if (gameState.screenState == kScreenGameOver) {
        Note("gameOver");
        NextPhase();
      }
      break;
    case 5:
      if (gameState.inTitle == 1) {
        Note("title");
        Finish();
      }
      break;
  }
}

void ScreensScenario() {
  const int32_t since = frameNow - phaseFrame;
  switch (phase) {
    case 0:
      if (LeaveTitle()) NextPhase();
      break;
    case 1:  // paint a while so that there is a score to keep
      if (!InPlay()) break;
      if (gameState.score > 0 && since > 30) {
        ReleaseAll();
        Note("play1");
        Press("P");
        NextPhase();
        break;
      }
      if (!SteerTo(Paintable)) ReleaseAll();
      break;
    case 2:  // the pause screen is up once P was read in play; then restart
      if (since == 2) Release("P");
      if (since == 4) Press("B");
      if (since == 6) {
        Release("B");
        NextPhase();
      }
      break;
    case 3:
      if (InPlay()) {
        Note("restarted");
        Press("ESCAPE");
        NextPhase();
      }
      break;
    case 4:  // the quit question, then continue
      if (since == 2) Release("ESCAPE");
      if (since == 4) Press("X");
      if (since == 6) Release("X");
      if (since == 10) {
        Note("continued");
        NextPhase();
      }
      break;
    case 5:  // hands off until the clock has run out and the title is back
      if (gameState.screenState == kScreenGameOver && mark == 0) {
        Note("gameOver");
        mark = 1;
      }
      if (mark == 1 && gameState.inTitle == 1) {
        Note("title2");
        NextPhase();
      }
      break;
    case 6:
      if (LeaveTitle()) NextPhase();
      break;
    case 7:
      if (!InPlay()) break;
      Note("game2");
      Press("ESCAPE");
      NextPhase();
      break;
    case 8:
      if (since == 2) Release("ESCAPE");
      if (since == 4) Press("B");  // confirm: the game-over animation, then the program ends
      if (since == 6) Release("B");
      if (gameState.quitRequested == 1 && mark == 1) {
        Note("quitting");
        mark = 2;
      }
      break;
  }
}

void TourScenario() {
  const int32_t since = frameNow - phaseFrame;
  switch (phase) {
    case 0:  // the three credits pages are the first three frames; then the title fades in
      if (frameNow <= 3) Note("credits" + std::to_string(frameNow));
      if (frameNow == 5) Note("titleStart");
      if (frameNow == 400) Note("title");
      if (frameNow >= 420 && LeaveTitle()) NextPhase();
      if (frameNow == 420) Press("P");
      break;
    case 1:  // play a while with the display
      if (!InPlay()) break;
      if (++mark > 120) {
        ReleaseAll();
        Note("play");
        Press("P");
        NextPhase();
        break;
      }
      if (!SteerTo(Paintable)) ReleaseAll();
      break;
    case 2:  // the pause screen, then a restart, which announces the map
      if (since == 2) Release("P");
      if (since == 6) Note("pause");
      if (since == 8) Press("B");
      if (since == 10) {
        Release("B");
        mark = 0;
      }
      if (since > 10 && gameState.levelJustBuilt == 1 && mark++ == 20) {
        Note("announce");
        mark = 0;
        NextPhase();
      }
      break;
    case 3:  // a little play, then the quit question
      if (InPlay() && ++mark == 30) {
        Note("beforeQuit");
        Press("ESCAPE");
        NextPhase();
      }
      break;
    case 4:  // the quit question, confirmed: the game-over animation, then the program ends
      if (since == 2) Release("ESCAPE");
      if (since == 6) Note("quit");
      if (since == 8) Press("B");
      if (since == 10) {
        Release("B");
        mark = 0;
        NextPhase();
      }
      break;
    case 5:
      if (gameState.screenState == kScreenGameOver && mark++ == 20) {
        Note("gameover");
        Finish();
      }
      break;
  }
}

// The marathon's figures of the level under way.
struct LevelFigures {
  int32_t width = 0, height = 0, tiles = 0, clockAtStart = 0, clockNow = 0, framesOfPlay = 0;
};
LevelFigures levelFigures;
FILE* figuresOut = nullptr;

void WriteLevelFigures(int32_t level) {
  if (!figuresOut || level < 1) return;
  const LevelFigures& f = levelFigures;
  std::fprintf(figuresOut, "level %d size %dx%d tiles %d clock %d left %d frames %d\n", level, f.width, f.height, f.tiles,
               f.clockAtStart, f.clockNow, f.framesOfPlay);
  std::fflush(figuresOut);
}

void MarathonScenario() {
  switch (phase) {
    case 0:
      if (LeaveTitle()) NextPhase();
      break;
    case 1:
      if (gameState.screenState == kScreenGameOver) {
        ReleaseAll();
        Note("over");
        Finish();
      }
      if (!InPlay()) break;
      if (gameState.level != mark && gameState.builtLevel == gameState.level) {
        WriteLevelFigures(mark);
        mark = gameState.level;
        Note("level" + std::to_string(mark));
        levelFigures = {gameState.mapWidth, gameState.mapHeight, gameState.tilesLeft, gameState.timeLeft, gameState.timeLeft, 0};
      }
      // Completing a level sets the clock to 0: the clock as it stood is that of the frame before.
      if (gameState.level == mark) {
        levelFigures.clockNow = gameState.timeLeft;
        levelFigures.framesOfPlay++;
      }
      if (!(bombStock.size() < 3 && SteerTo(HasBomb)) && !SteerTo(Paintable)) ReleaseAll();
      break;
  }
}

void BotFrame(int32_t frame) {
  frameNow = frame;
  gameFrame = gameState.frameTick != lastFrameTick;
  lastFrameTick = gameState.frameTick;
  if (scenario == "level") LevelScenario();
  else if (scenario == "bomb") BombScenario();
  else if (scenario == "screens") ScreensScenario();
  else if (scenario == "marathon") MarathonScenario();
  else if (scenario == "tour") TourScenario();
  std::fflush(replayOut);
  std::fflush(notesOut);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: quorvex_bot SCENARIO OUTDIR [game options...]\n");
    return 2;
  }
  scenario = argv[1];
  outDir = argv[2];
  if (scenario != "level" && scenario != "bomb" && scenario != "screens" && scenario != "marathon" &&
      scenario != "tour") {
    std::fprintf(stderr, "bot: unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  replayOut = std::fopen((outDir + "/replay.txt").c_str(), "w");
  if (scenario == "marathon") figuresOut = std::fopen((outDir + "/figures.txt").c_str(), "w");
  notesOut = std::fopen((outDir + "/notes.txt").c_str(), "w");
  if (!replayOut || !notesOut) {
    std::fprintf(stderr, "bot: cannot write into %s\n", outDir.c_str());
    return 2;
  }
  // The game reads its keys from a replay; the bot's is empty and the bot sets keys itself.
  std::fclose(std::fopen((outDir + "/empty.txt").c_str(), "w"));
  std::vector<std::string> args(argv + 3, argv + argc);
  args.push_back("--replay");
  args.push_back(outDir + "/empty.txt");
  std::string error;
  if (!ParseHarnessOptions(args, error)) {
    std::fprintf(stderr, "bot: %s\n", error.c_str());
    return 2;
  }
  SetHarnessObserver(BotFrame);
  Main();
}
