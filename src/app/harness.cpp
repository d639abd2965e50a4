#include "app/harness.h"
#include "app/preferences.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/game_state.h"
#include "core/shutdown.h"
#include "game/bombs.h"
#include "game/foes.h"
#include "game/pickups.h"
#include "game/player.h"
#include "media/clock.h"
#include "media/input.h"
#include "media/process.h"
#include "media/screen.h"
#include "world/tile_map.h"

HarnessOptions harnessOptions;

namespace {

bool ParseInt(const std::string& text, int32_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < 0 || value > 2147483647L) return false;
  out = static_cast<int32_t>(value);
  return true;
}

// "N:FILE" into the map.
bool ParseFrameFile(const std::string& text, std::multimap<int32_t, std::string>& out) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon + 1 >= text.size()) return false;
  int32_t frame = 0;
  if (!ParseInt(text.substr(0, colon), frame) || frame < 1) return false;
  out.emplace(frame, text.substr(colon + 1));
  return true;
}

}  // namespace

bool ParseHarnessOptions(const std::vector<std::string>& args, std::string& error) {
  harnessOptions = HarnessOptions{};
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& option = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (option == "--help" || option == "-h") {
      harnessOptions.help = true;
    } else if (option == "--version") {
      harnessOptions.version = true;
    } else if (option == "--window") {
      harnessOptions.window = true;
    } else if (option == "--fullscreen") {
      harnessOptions.fullscreen = true;
    } else if (option == "--world") {
      harnessOptions.world = true;
    } else if (option == "--fast") {
      harnessOptions.fast = true;
    } else if (option == "--data") {
      if (!value(harnessOptions.dataDirectory)) return false;
    } else if (option == "--config") {
      if (!value(harnessOptions.configFile)) return false;
    } else if (option == "--state") {
      if (!value(harnessOptions.stateDirectory)) return false;
    } else if (option == "--windowed") {
      if (!value(v)) return false;
      const size_t x = v.find('x');
      if (x == std::string::npos || !ParseInt(v.substr(0, x), harnessOptions.windowWidth) ||
          !ParseInt(v.substr(x + 1), harnessOptions.windowHeight) || harnessOptions.windowWidth < 1 ||
          harnessOptions.windowHeight < 1 || harnessOptions.windowWidth > 16384 || harnessOptions.windowHeight > 16384) {
        error = "--windowed takes WxH, such as 1280x720";
        return false;
      }
    } else if (option == "--frames") {
      if (!value(v)) return false;
      if (!ParseInt(v, harnessOptions.endFrame) || harnessOptions.endFrame < 1) {
        error = "--frames takes a positive number";
        return false;
      }
    } else if (option == "--replay") {
      if (!value(harnessOptions.replayFile)) return false;
    } else if (option == "--record") {
      if (!value(harnessOptions.recordFile)) return false;
    } else if (option == "--screenshot") {
      if (!value(v)) return false;
      if (!ParseFrameFile(v, harnessOptions.screenshots)) {
        error = "--screenshot takes N:FILE with N from 1";
        return false;
      }
    } else if (option == "--dump") {
      if (!value(v)) return false;
      if (!ParseFrameFile(v, harnessOptions.dumps)) {
        error = "--dump takes N:FILE with N from 1";
        return false;
      }
    } else {
      error = "unknown option " + option;
      return false;
    }
  }
  if (harnessOptions.window + harnessOptions.fullscreen + (harnessOptions.windowWidth > 0) > 1) {
    error = "--fullscreen, --window and --windowed each choose how the game is shown: give one";
    return false;
  }
  if (harnessOptions.world && !harnessOptions.dataDirectory.empty()) {
    error = "--world and --data each choose the data: give one";
    return false;
  }
  return true;
}

bool TestHarnessRun() {
  const HarnessOptions& o = harnessOptions;
  return o.fast || !o.replayFile.empty() || o.endFrame > 0 || o.windowWidth > 0 || !o.recordFile.empty() ||
         !o.screenshots.empty() || !o.dumps.empty();
}

std::string QuorvexVersionText() { return "quorvex " QUORVEX_VERSION "\n"; }

std::string QuorvexHelpText() {
  return "Usage: quorvex [OPTION]...\n"
         "Quorvex, a labyrinth arcade game: paint the floor blue, fix it in squares and rows, and beat\n"
         "the clock.\n"
         "\n"
         "Playing:\n"
         "  --fullscreen          fill the display (the default)\n"
         "  --window              play in a window; drag its edges to resize the picture\n"
         "                        (Alt+Enter or F11 switches between the two while playing)\n"
         "  --world               walk the world map instead of the labyrinth game\n"
         "  --data DIR            play the data in DIR, a base directory holding DATA/ini.txt\n"
         "  --check               check the data (the --data DIR, or the data the game would play)\n"
         "                        and name every mistake in it, one line each; exit 1 when any\n"
         "  --config FILE         read and write the preferences in FILE instead of\n"
         "                        $XDG_CONFIG_HOME/quorvex/quorvex.cfg (~/.config/quorvex/quorvex.cfg)\n"
         "  --state DIR           keep the best scores in DIR instead of $XDG_STATE_HOME/quorvex\n"
         "                        (~/.local/state/quorvex)\n"
         "  -h, --help            show this help and exit\n"
         "  --version             show the version and exit\n"
         "\n"
         "Testing and bug reports:\n"
         "  --windowed WxH        an ordinary window of W x H pixels, taken as the desktop size\n"
         "  --fast                no frame pacing and no sleeping; a virtual millisecond clock\n"
         "  --frames N            end the program, exit status 0, right after the N-th presented frame\n"
         "  --replay FILE         read keyboard, joypad and window events from FILE instead of the devices\n"
         "  --record FILE         write every change of key and button state to FILE\n"
         "  --screenshot N:FILE   write what the window shows at presented frame N as a PNG (repeatable)\n"
         "  --dump N:FILE         write the game state after presented frame N as JSON (repeatable)\n"
         "\n"
         "Without --data the game plays the base directory it is started in, if that holds\n"
         "DATA/ini.txt; else the installed data, found in quorvex/labyrinth (quorvex/world with\n"
         "--world) under $XDG_DATA_HOME, each directory of $XDG_DATA_DIRS, and ../share beside the\n"
         "program. Files named to the testing options are taken relative to the directory the game\n"
         "was started from.\n"
         "\n"
         "Keys: arrows walk, Space bombs, P pauses, Escape asks to quit (then B quits, X goes on),\n"
         "Page Up and Page Down change the level. F5 and F6 lower and raise the music, F7 and F8 the\n"
         "sound effects, F9 mutes; Alt+Enter or F11 switches between window and full screen. The\n"
         "preferences file names the actions (walk-up, walk-down, walk-left, walk-right, bomb, pause,\n"
         "quit, choice-x, choice-b, next-level, previous-level) and binds each with key.ACTION and\n"
         "button.ACTION. The testing options keep no preferences and no best score, unless --config\n"
         "and --state name where.\n"
         "See quorvex(6) for the whole story.\n";
}

bool ParseHarnessOptions(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  if (ParseHarnessOptions(args, error)) return true;
  std::fprintf(stderr, "quorvex: %s\nTry 'quorvex --help' for the options.\n", error.c_str());
  return false;
}

namespace {

// The window events of a replay, by their names (in the media layer's numbering).
const std::pair<const char*, int32_t> kWindowEventNames[] = {
    {"focus-lost", kWindowFocusLost}, {"focus-gained", kWindowFocusGained},
    {"minimized", kWindowMinimized},  {"restored", kWindowRestored},
};

int32_t WindowEventOf(const std::string& name) {
  for (const auto& [text, event] : kWindowEventNames)
    if (name == text) return event;
  return -1;
}

}  // namespace

bool ParseReplay(const std::string& text, std::vector<ReplayEvent>& events, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    lineNumber++;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string frameText, action, input, extra;
    if (!(words >> frameText)) continue;  // blank line
    ReplayEvent event;
    if (!(words >> action >> input) || (words >> extra) || !ParseInt(frameText, event.frame) ||
        (action != "down" && action != "up" && (action != "window" || WindowEventOf(input) < 0))) {
      error = "replay line " + std::to_string(lineNumber) +
              ": expected <frame> down|up <KEY> or <frame> window focus-lost|focus-gained|minimized|restored";
      return false;
    }
    event.down = action == "down";
    event.window = action == "window";
    event.input = input;
    events.push_back(event);
  }
  return true;
}

namespace {

const std::pair<const char*, int32_t> kKeyNames[] = {
    {"UP", Key::kUp},     {"DOWN", Key::kDown},     {"LEFT", Key::kLeft},         {"RIGHT", Key::kRight},
    {"SPACE", Key::kSpace}, {"A", Key::kA},         {"B", Key::kB},               {"C", Key::kC},
    {"D", Key::kD},       {"P", Key::kP},           {"X", Key::kX},               {"Y", Key::kY},
    {"ESCAPE", Key::kEscape}, {"PGUP", Key::kPageUp}, {"PGDN", Key::kPageDown},
};

constexpr int32_t kJoyButtons = 32;

// What a replay input name stands for: a key, a joystick direction or a button.
struct InputName {
  enum Kind { kNone, kKey, kJoyAxis, kJoyButton } kind = kNone;
  int32_t code = 0;   // scan code, button number, or axis (0 x, 1 y)
  int32_t value = 0;  // the axis value while held
};

InputName Lookup(const std::string& name) {
  for (const auto& [text, code] : kKeyNames)
    if (name == text) return {InputName::kKey, code, 0};
  if (name.size() == 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
    char* end = nullptr;
    const long code = std::strtol(name.c_str() + 2, &end, 16);
    if (*end == '\0' && code > 0 && code < 256) return {InputName::kKey, static_cast<int32_t>(code), 0};
  }
  if (name == "JOY_LEFT") return {InputName::kJoyAxis, 0, -1};
  if (name == "JOY_RIGHT") return {InputName::kJoyAxis, 0, 1};
  if (name == "JOY_UP") return {InputName::kJoyAxis, 1, -1};
  if (name == "JOY_DOWN") return {InputName::kJoyAxis, 1, 1};
  if (name.size() > 3 && name.compare(0, 3, "JOY") == 0) {
    int32_t button = 0;
    if (ParseInt(name.substr(3), button) && button >= 1 && button <= kJoyButtons) return {InputName::kJoyButton, button, 0};
  }
  return {};
}

// The name a recording writes for a key.
std::string KeyName(int32_t code) {
  for (const auto& [text, key] : kKeyNames)
    if (key == code) return text;
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%02X", code);
  return buffer;
}

std::vector<ReplayEvent> replayEvents;
size_t nextReplayEvent = 0;
bool joyHeld[2][2] = {};  // [axis][negative, positive]

void ApplyReplayEvent(const ReplayEvent& event) {
  if (event.window) {
    SetReplayWindowEvent(WindowEventOf(event.input));
    return;
  }
  const InputName input = Lookup(event.input);
  switch (input.kind) {
    case InputName::kKey:
      SetReplayKey(input.code, event.down);
      // The desktop's keys act as they are pressed, as on the devices.
      if (event.down) PressDesktopKey(input.code, RawKeyDown(DesktopKey::kLeftAlt) || RawKeyDown(DesktopKey::kRightAlt));
      break;
    case InputName::kJoyButton: SetReplayJoyButton(input.code, event.down); break;
    case InputName::kJoyAxis: {
      joyHeld[input.code][input.value > 0 ? 1 : 0] = event.down;
      const bool* held = joyHeld[input.code];
      SetReplayJoyAxis(input.code, (held[1] ? 1 : 0) - (held[0] ? 1 : 0));
      break;
    }
    case InputName::kNone: break;
  }
}

void ApplyReplayUpTo(int32_t frame) {
  while (nextReplayEvent < replayEvents.size() && replayEvents[nextReplayEvent].frame <= frame)
    ApplyReplayEvent(replayEvents[nextReplayEvent++]);
}

FILE* recordFile = nullptr;
bool recordedKeys[256] = {};
int32_t recordedAxes[2] = {};
bool recordedButtons[kJoyButtons + 1] = {};
int32_t recordedKeyPresses[256] = {};
int32_t recordedButtonPresses[kJoyButtons + 1] = {};

// Writes every change of key and button state seen since the last call, as events of `frame`.
void RecordChanges(int32_t frame) {
  if (!recordFile) return;
  auto write = [frame](bool down, const std::string& name) {
    std::fprintf(recordFile, "%d %s %s\n", frame, down ? "down" : "up", name.c_str());
  };
  // A press that came and went since the last frame is written as a tap within the frame.
  auto tap = [&write](const std::string& name) {
    write(true, name);
    write(false, name);
  };
  for (int32_t code = 1; code < 256; code++) {
    const bool down = RawKeyDown(code);
    const int32_t presses = RawKeyPresses(code);
    if (down != recordedKeys[code]) write(down, KeyName(code));
    else if (!down && presses != recordedKeyPresses[code]) tap(KeyName(code));
    recordedKeys[code] = down;
    recordedKeyPresses[code] = presses;
  }
  static const char* const kAxisNames[2][2] = {{"JOY_LEFT", "JOY_RIGHT"}, {"JOY_UP", "JOY_DOWN"}};
  for (int32_t axis = 0; axis < 2; axis++) {
    const int32_t now = RawJoyAxis(axis), before = recordedAxes[axis];
    if (now == before) continue;
    if (before != 0) write(false, kAxisNames[axis][before > 0 ? 1 : 0]);
    if (now != 0) write(true, kAxisNames[axis][now > 0 ? 1 : 0]);
    recordedAxes[axis] = now;
  }
  for (int32_t button = 1; button <= kJoyButtons; button++) {
    const bool down = RawJoyButton(button);
    const int32_t presses = RawJoyButtonPresses(button);
    if (down != recordedButtons[button]) write(down, "JOY" + std::to_string(button));
    else if (!down && presses != recordedButtonPresses[button]) tap("JOY" + std::to_string(button));
    recordedButtons[button] = down;
    recordedButtonPresses[button] = presses;
  }
  for (const int32_t event : TakeWindowEvents())
    for (const auto& [name, kind] : kWindowEventNames)
      if (kind == event) std::fprintf(recordFile, "%d window %s\n", frame, name);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  out = text.str();
  return true;
}

}  // namespace

namespace {

// A path given on the command line, made absolute against the directory the program started in
// (before --data changes the directory).
void FromStartDirectory(std::string& path) {
  if (path.empty() || path[0] == '/') return;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (!error) path = absolute.string();
}

}  // namespace

bool ApplyHarnessOptions() {
  FromStartDirectory(harnessOptions.replayFile);
  FromStartDirectory(harnessOptions.configFile);
  FromStartDirectory(harnessOptions.stateDirectory);
  FromStartDirectory(harnessOptions.recordFile);
  for (auto* files : {&harnessOptions.screenshots, &harnessOptions.dumps})
    for (auto& [frame, file] : *files) FromStartDirectory(file);
  SetFastMode(harnessOptions.fast);
  replayEvents.clear();
  nextReplayEvent = 0;
  if (!harnessOptions.replayFile.empty()) {
    std::string text, error;
    if (!ReadWholeFile(harnessOptions.replayFile, text)) {
      std::fprintf(stderr, "quorvex: cannot read the replay %s\n", harnessOptions.replayFile.c_str());
      return false;
    }
    if (!ParseReplay(text, replayEvents, error)) {
      std::fprintf(stderr, "quorvex: %s: %s\n", harnessOptions.replayFile.c_str(), error.c_str());
      return false;
    }
    bool withJoystick = false;
    for (const ReplayEvent& event : replayEvents) {
      if (event.window) continue;
      const InputName input = Lookup(event.input);
      if (input.kind == InputName::kNone) {
        std::fprintf(stderr, "quorvex: %s: unknown key %s\n", harnessOptions.replayFile.c_str(), event.input.c_str());
        return false;
      }
      withJoystick = withJoystick || input.kind != InputName::kKey;
    }
    std::stable_sort(replayEvents.begin(), replayEvents.end(),
                     [](const ReplayEvent& a, const ReplayEvent& b) { return a.frame < b.frame; });
    SetInputFromReplay(true, withJoystick);
    ApplyReplayUpTo(0);
  }
  if (!harnessOptions.recordFile.empty()) {
    recordFile = std::fopen(harnessOptions.recordFile.c_str(), "w");
    if (!recordFile) {
      std::fprintf(stderr, "quorvex: cannot write the record %s\n", harnessOptions.recordFile.c_str());
      return false;
    }
  }
  if (harnessOptions.windowWidth > 0) SetWindowedSize(harnessOptions.windowWidth, harnessOptions.windowHeight);
  SetWindowStyle(harnessOptions.window ? kStyleWindow : kStyleFullscreen);
  SetBeforePresentHook(HarnessBeforePresent);
  SetPresentHook(HarnessAfterPresent);
  if (!harnessOptions.dataDirectory.empty() && ::chdir(harnessOptions.dataDirectory.c_str()) != 0) {
    std::fprintf(stderr, "quorvex: cannot change into %s\n", harnessOptions.dataDirectory.c_str());
    return false;
  }
  return true;
}

namespace {
void (*harnessObserver)(int32_t) = nullptr;
}

void SetHarnessObserver(void (*observer)(int32_t frame)) { harnessObserver = observer; }

void HarnessBeforePresent(int32_t frame) {
  auto shots = harnessOptions.screenshots.equal_range(frame);
  for (auto it = shots.first; it != shots.second; ++it)
    if (!SaveWindowPng(it->second)) std::fprintf(stderr, "quorvex: could not write the screenshot %s\n", it->second.c_str());
}

void HarnessAfterPresent(int32_t frame) {
  // Ctrl+C, a polite kill and the window's close button all end the game here, cleanly.
  if (StopSignalled() || WindowCloseRequested()) ShutDown();
  auto dumps = harnessOptions.dumps.equal_range(frame);
  for (auto it = dumps.first; it != dumps.second; ++it) {
    std::ofstream out(it->second, std::ios::binary);
    out << DumpGameState(frame);
    if (!out) std::fprintf(stderr, "quorvex: could not write the dump %s\n", it->second.c_str());
  }
  // Changes seen by the polls of this frame were made after the previous one was presented.
  RecordChanges(frame - 1);
  ApplyReplayUpTo(frame);
  KeepPreferencesSaved();
  if (harnessObserver) harnessObserver(frame);
  if (harnessOptions.endFrame > 0 && frame >= harnessOptions.endFrame) ShutDown();
}

void FinishHarness() {
  if (recordFile) {
    RecordChanges(PresentedFrames());
    std::fclose(recordFile);
    recordFile = nullptr;
  }
}

namespace {

class Json {
 public:
  std::string text;
  void Key(const char* name) {
    Separate();
    Quote(name);
    text += ':';
    fresh_ = true;
  }
  void Int(int64_t v) {
    Separate();
    text += std::to_string(v);
  }
  void Float(double v) {
    Separate();
    if (!std::isfinite(v)) {
      text += "null";
      return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    text += buffer;
  }
  void String(const std::string& s) {
    Separate();
    Quote(s);
  }
  void Open(char bracket) {
    Separate();
    text += bracket;
    fresh_ = true;
  }
  void Close(char bracket) {
    text += bracket;
    fresh_ = false;
  }

 private:
  void Separate() {
    if (!fresh_) text += ',';
    fresh_ = false;
  }
  void Quote(const std::string& s) {
    text += '"';
    for (unsigned char c : s) {
      if (c == '"' || c == '\\') {
        text += '\\';
        text += static_cast<char>(c);
      } else if (c < 0x20 || c >= 0x7F) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", c);  // bytes are Windows-1252, shown as Latin-1
        text += buffer;
      } else {
        text += static_cast<char>(c);
      }
    }
    text += '"';
  }
  bool fresh_ = true;
};

}  // namespace

std::string DumpGameState(int32_t frame) {
  const GameState& g = gameState;
  Json j;
  j.Open('{');
  j.Key("frame"), j.Int(frame);
  j.Key("level"), j.Int(g.level);
  j.Key("builtLevel"), j.Int(g.builtLevel);
  j.Key("levelJustBuilt"), j.Int(g.levelJustBuilt);
  j.Key("score"), j.Int(g.score);
  j.Key("levelStartScore"), j.Int(g.levelStartScore);
  j.Key("timeLeft"), j.Int(g.timeLeft);
  j.Key("frameTick"), j.Int(g.frameTick);
  j.Key("tilesLeft"), j.Int(g.tilesLeft);
  j.Key("screenState"), j.Int(g.screenState);
  j.Key("inTitle"), j.Int(g.inTitle);
  j.Key("quitRequested"), j.Int(g.quitRequested);
  j.Key("joystickPresent"), j.Int(g.joystickPresent);
  j.Key("drawWorld"), j.Int(g.drawWorld);
  j.Key("viewX"), j.Float(g.viewX);
  j.Key("viewY"), j.Float(g.viewY);
  j.Key("viewCols"), j.Float(g.viewCols);
  j.Key("viewRows"), j.Float(g.viewRows);
  j.Key("cellX"), j.Int(g.cellX);
  j.Key("cellY"), j.Int(g.cellY);
  j.Key("mapWidth"), j.Int(g.mapWidth);
  j.Key("mapHeight"), j.Int(g.mapHeight);
  j.Key("tileWidth"), j.Float(g.tileWidth);
  j.Key("tileHeight"), j.Float(g.tileHeight);
  j.Key("screenWidth"), j.Float(g.screenWidth);
  j.Key("screenHeight"), j.Float(g.screenHeight);
  j.Key("fontScale"), j.Float(g.fontScale);
  j.Key("mainWindow"), j.Int(g.mainWindow);
  j.Key("zoomSprite"), j.Int(g.zoomSprite);
  j.Key("zoomSprite3D"), j.Int(g.zoomSprite3D);
  j.Key("loadScreenSprite"), j.Int(g.loadScreenSprite);
  j.Key("loadScreenSprite3D"), j.Int(g.loadScreenSprite3D);
  j.Key("scoreTarget"), j.Int(scoreTarget);
  j.Key("bombStock"), j.String(bombStock);
  j.Key("player"), j.Open('{');
  j.Key("x"), j.Float(player.x);
  j.Key("y"), j.Float(player.y);
  j.Key("heading"), j.Int(player.heading);
  j.Close('}');
  j.Key("foes"), j.Open('[');
  for (const Foe& foe : foes) {
    j.Open('{');
    j.Key("x"), j.Int(foe.x);
    j.Key("y"), j.Int(foe.y);
    j.Key("heading"), j.Int(foe.heading);
    j.Close('}');
  }
  j.Close(']');
  j.Key("placedObjects"), j.Int(static_cast<int64_t>(placedObjects.size()));
  j.Key("tiles"), j.Open('[');
  for (int32_t y = 0; y <= g.mapHeight && y < tileMap.Rows(); y++) {
    j.Open('[');
    for (int32_t x = 0; x <= g.mapWidth && x < tileMap.Columns(); x++) j.String(tileMap.Name(x, y));
    j.Close(']');
  }
  j.Close(']');
  j.Close('}');
  j.text += '\n';
  return j.text;
}
