#include "app/main_loop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/data_lookup.h"
#include "app/best_score.h"
#include "app/harness.h"
#include "app/preferences.h"
#include "core/error_report.h"
#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shutdown.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "data/screen_text.h"
#include "game/bombs.h"
#include "game/draw_map.h"
#include "game/foes.h"
#include "game/level.h"
#include "game/pickups.h"
#include "game/play_screens.h"
#include "game/player.h"
#include "game/zoom_pass.h"
#include "media/clock.h"
#include "media/files.h"
#include "media/input.h"
#include "media/process.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"
#include "ui/hud.h"
#include "ui/input_map.h"
#include "ui/menus.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"
#include "world/world_map.h"

bool labyrinthMode = false;

namespace {

// The start-up grid: indices 0..512, the largest world map.
constexpr int32_t kStartupGridSide = 513;

}  // namespace

void ExamineDesktop() {
  // Data may choose the screen it is drawn for; the window or display then shows it scaled.
  int32_t width = 0, height = 0;
  if (!settings.SCREENSIZE.empty() && !ParseScreenSize(settings.SCREENSIZE, width, height))
    std::fprintf(stderr, "quorvex: SCREENSIZE %s is not WIDTHxHEIGHT (such as 1280x720, sides 16 to 8192); "
                         "the desktop's size is used\n", settings.SCREENSIZE.c_str());
  if (width == 0) {
    width = DesktopWidth();
    height = DesktopHeight();
  }
  gameState.screenWidth = static_cast<float>(width);
  gameState.screenHeight = static_cast<float>(height);
  gameState.fontScale = gameState.screenWidth / static_cast<float>(settings.RESBASEW);
}

void OpenMainWindow() {
  const int32_t width = RoundHalfEven(gameState.screenWidth), height = RoundHalfEven(gameState.screenHeight);
  gameState.mainWindow = CreateMainWindow(width, height, settings.APPNAME);
  if (gameState.mainWindow == 0) ReportError(kErrorWindow);
  if (OpenScreenInWindow(gameState.mainWindow, width, height) == 0) ReportError(kErrorScreen);
}

void CreateWorldLists() {
  FreeAssets();
  FreeObjectDefinitions();
  ClearFoes();
  ResetTileMap();
  tileMap.Create(kStartupGridSide, kStartupGridSide);
}

void LoadAssets() {
  LoadTopographyImages();
  LoadObjectDefinitions();
  LoadSoundEffects();
  LoadMusicList();
  LoadGameImages();
  LoadTitleImages();
  ReloadScreenFont();
}

void CompleteLevel() {
  gameState.level = WrapAdd(gameState.level, 1);
  gameState.timeLeft = 0;
}

void WorldStep() {
  ClearBackBuffer(kBlack);
  DrawFloatingImages(gameImages, 1);
  DrawMap();
  ObjectsFrame();
  FoesFrame();
  PlayerFrame();
  ShowMapAnnouncement();
  ZoomPass(settings.SMOOTH);
  DrawHud();
}

void GameStep() {
  BeginQuads();
  if (gameState.drawWorld == 1) WorldStep();
  bool levelWon = false;
  if (gameState.tilesLeft < 1) {
    gameState.levelStartScore = gameState.score;
    CompleteLevel();
    // A labyrinth level won goes on to the next one even when this step ends a clock second.
    // The world completes a level at every step and keeps its time-out a second after its start.
    levelWon = labyrinthMode;
  }
  EndQuads();
  TimerFrame(-1, levelWon);
  PresentFrame();
  if (gameState.screenState == kScreenGameOver) ShowGameOver();
}

void MainLoopPass() {
  if (labyrinthMode && gameState.level != gameState.builtLevel) {
    BuildLevel();
    gameState.levelJustBuilt = 1;
    gameState.builtLevel = gameState.level;
  }
  PumpWindowEvent();
  PollMouse();
  ReadControls();
  GameStep();
  SleepMs(std::min(settings.MULTITASK, kLongestFrameSleep));
}

namespace {

// Every media service: the window, quads and images, sounds, mouse, keyboard, joystick, files.
void ReleaseMedia() {
  EndVideo();
  EndSound();
  EndMouse();
  EndKeyboard();
  EndJoystick();
  CloseAllFiles();
}

// Every service, after the harness's record file is flushed.
void ReleaseEveryService() {
  FinishHarness();
  FinishPreferences();
  ReleaseMedia();
}

// The media layer as a fresh process has it: nothing open, nothing read, nothing counted
// (frames, the virtual clock, the image budget), devices read directly and the harness's
// window and pace off.
void ResetMedia() {
  ReleaseMedia();
  ResetInput();
  SetFastMode(false);
  SetWindowedSize(0, 0);
  SetWindowStyle(kStyleFullscreen);
}

}  // namespace

void ConnectLayers() {
  SetServiceRelease(ReleaseEveryService);
  playScreens = PlayScreens{ShowTitleScreen, ShowPauseScreen, ShowQuitQuestion};
}

void ResetAllState() {
  ResetGameState();
  ResetSettings();
  ResetRandom();
  ResetPlayerState();
  ResetBombState();
  ResetPickupState();
  ResetLabyrinthState();
  ResetLevelState();
  ResetWorldMapState();
  ResetHudState();
  ResetInputMapState();
  ResetPreferencesState();
  bestScoreStore = BestScoreStore{};
  ClearFoes();
  ResetTileMap();
  FreeObjectDefinitions();
  FreeAssets();
  ResetScreenFont();
  ResetMedia();
  SetErrorBoxEnabled(false);
  labyrinthMode = false;
  ConnectLayers();
}

void StartUp() {
  ResetAllState();
  if (!ApplyHarnessOptions()) EndProgram(2);
  LoadPreferences();
  SetErrorBoxEnabled(!harnessOptions.fast);
  // Window management comes up before anything else, so that a missing display is said in one
  // line before the sound library has had its say.
  if (!StartVideo()) {
    std::fprintf(stderr, "quorvex: %s\n", NoDisplayReason().c_str());
    EndProgram(1);
  }
  ChooseBaseDirectory();
  baseDirectory = CurrentDirectory();
  LoadBestScore(baseDirectory);
  ReadSettings(baseDirectory + "DATA\\ini.txt");
  if (settings.MULTITASK > kLongestFrameSleep)
    std::fprintf(stderr, "quorvex: MULTITASK %d would freeze the game; sleeping %d ms a frame\n", settings.MULTITASK,
                 kLongestFrameSleep);
  // The image and sound decoders are linked in: there is nothing to register.
  ExamineDesktop();
  OpenMainWindow();
  CreateWorldLists();
  LoadAssets();
}

namespace {

[[noreturn]] void StartAndPlay() {
  StartUp();
  ShowCreditsScreen();
  ShowTitleScreen();
  if (settings.USESELFCREATEBASE == 1) {
    labyrinthMode = true;
    StartLabyrinthGame(settings.SELFCREATEBASE);
  } else {
    StartWorldGame();
  }
  for (;;) MainLoopPass();
}

}  // namespace

void Main() {
  CatchStopSignals();
  // The loaders refuse what would not fit; should memory still run out, the program ends with a
  // message instead of an uncaught exception.
  try {
    StartAndPlay();
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "quorvex: out of memory\n");
    ReleaseServices();
    EndProgram(1);
  }
}
