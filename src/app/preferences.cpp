#include "app/preferences.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <utility>

#include "app/harness.h"
#include "app/user_files.h"
#include "media/clock.h"
#include "media/screen.h"
#include "media/sound.h"

namespace {

constexpr int32_t kVolumeStep = 10;
constexpr int32_t kNoticeFrames = 90;        // about a second and a half
constexpr uint32_t kResizeSaveDelay = 500;   // ms between writes while a window is dragged
constexpr int32_t kSmallestWindowW = 160, kSmallestWindowH = 90, kLargestWindowSide = 16384;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A value as the message quotes it: printable, and cut short.
std::string Quoted(const std::string& value) {
  std::string shown;
  for (const char c : value.substr(0, 40)) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
  if (value.size() > 40) shown += "...";
  return "\"" + shown + "\"";
}

bool ParseVolume(const std::string& text, int32_t& out) {
  if (text.empty() || text.size() > 3) return false;
  int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > 100) return false;
  out = value;
  return true;
}

bool ParseYesNo(const std::string& text, bool& out) {
  const std::string word = Lower(text);
  if (word == "yes" || word == "true" || word == "on") {
    out = true;
    return true;
  }
  if (word == "no" || word == "false" || word == "off") {
    out = false;
    return true;
  }
  return false;
}

bool ParseWindowSize(const std::string& text, int32_t& width, int32_t& height) {
  if (Lower(text) == "auto") {
    width = height = 0;
    return true;
  }
  const size_t x = Lower(text).find('x');
  if (x == std::string::npos || x == 0 || x + 1 >= text.size() || x > 5 || text.size() - x - 1 > 5) return false;
  int32_t w = 0, h = 0;
  for (size_t i = 0; i < text.size(); i++) {
    if (i == x) continue;
    if (text[i] < '0' || text[i] > '9') return false;
    int32_t& side = i < x ? w : h;
    side = side * 10 + (text[i] - '0');
  }
  if (w < kSmallestWindowW || h < kSmallestWindowH || w > kLargestWindowSide || h > kLargestWindowSide) return false;
  width = w;
  height = h;
  return true;
}

std::string Capitalised(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

const char* YesNo(bool value) { return value ? "yes" : "no"; }

std::string SizeText(int32_t width, int32_t height) {
  return width > 0 && height > 0 ? std::to_string(width) + "x" + std::to_string(height) : "auto";
}

// Keys or joypad inputs of one kind, with their names.
struct InputKind {
  const char* prefix;  // "key" or "button"
  std::function<std::string(int32_t)> name;
  std::function<int32_t(const std::string&)> lookup;
};

std::string ListText(const std::vector<int32_t>& inputs, const InputKind& kind) {
  if (inputs.empty()) return "none";
  std::string text;
  for (const int32_t input : inputs) text += (text.empty() ? "" : ", ") + kind.name(input);
  return text;
}

// An entry key.ACTION or button.ACTION as the file gives it.
struct Given {
  int32_t line = 0;  // 0: not given, or refused
  std::vector<int32_t> inputs;
};

class Reader {
 public:
  Reader(const std::string& name, std::vector<std::string>& problems) : name_(name), problems_(problems) {}

  void Line(int32_t number, const std::string& raw, bool tooLong) {
    if (tooLong) {
      Say(number, "a line longer than " + std::to_string(kLongestPreferenceLine) + " bytes is ignored");
      return;
    }
    for (const unsigned char c : raw)
      if ((c < 0x20 && c != '\t') || c == 0x7F) {
        Say(number, "the line holds bytes that are not text and is ignored");
        return;
      }
    std::string line = raw;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    line = Trim(line);
    if (line.empty()) return;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      Say(number, Quoted(line) + " is not NAME = VALUE and is ignored");
      return;
    }
    const std::string name = Lower(Trim(line.substr(0, equals))), value = Trim(line.substr(equals + 1));
    if (!Known(name)) {
      Say(number, "unknown entry " + Quoted(name) + " is ignored");
      return;
    }
    const auto seen = lines_.find(name);
    if (seen != lines_.end()) {
      Say(number, name + " was given on line " + std::to_string(seen->second) + " already; this line is ignored");
      return;
    }
    lines_[name] = number;
    Entry(number, name, value);
  }

  Preferences Finish() {
    const Bindings defaults = DefaultBindings();
    Resolve(KeyKind(), defaults.keys, keys_, prefs_.bindings.keys);
    Resolve(ButtonKind(), defaults.buttons, buttons_, prefs_.bindings.buttons);
    std::stable_sort(said_.begin(), said_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < said_.size() && i < kMostPreferenceProblems; i++) problems_.push_back(said_[i].second);
    if (said_.size() > kMostPreferenceProblems)
      problems_.push_back(name_ + ": " + std::to_string(said_.size() - kMostPreferenceProblems) + " more problems are not listed");
    return prefs_;
  }

 private:
  static InputKind KeyKind() { return {"key", KeyName, KeyFromName}; }
  static InputKind ButtonKind() { return {"button", PadInputName, PadInputFromName}; }

  void Say(int32_t line, const std::string& text) {
    said_.emplace_back(line, name_ + ":" + std::to_string(line) + ": " + text);
  }

  static int32_t ActionNamed(const std::string& name) {
    for (int32_t a = 0; a < kActionCount; a++)
      if (name == kActionInfo[a].name) return a;
    return -1;
  }

  static bool Known(const std::string& name) {
    if (name == "fullscreen" || name == "window-size" || name == "music-volume" || name == "effects-volume" ||
        name == "mute")
      return true;
    if (name.rfind("key.", 0) == 0) return ActionNamed(name.substr(4)) >= 0;
    if (name.rfind("button.", 0) == 0) return ActionNamed(name.substr(7)) >= 0;
    return false;
  }

  void Entry(int32_t number, const std::string& name, const std::string& value) {
    const Preferences defaults;
    if (name == "fullscreen") {
      if (!ParseYesNo(value, prefs_.fullscreen))
        Say(number, "fullscreen " + Quoted(value) + " is not yes or no; the default " + YesNo(defaults.fullscreen) + " is used");
    } else if (name == "mute") {
      if (!ParseYesNo(value, prefs_.muted))
        Say(number, "mute " + Quoted(value) + " is not yes or no; the default " + YesNo(defaults.muted) + " is used");
    } else if (name == "window-size") {
      if (!ParseWindowSize(value, prefs_.windowWidth, prefs_.windowHeight))
        Say(number, "window-size " + Quoted(value) + " is not auto or WIDTHxHEIGHT from " + std::to_string(kSmallestWindowW) +
                        "x" + std::to_string(kSmallestWindowH) + " to " + std::to_string(kLargestWindowSide) + "x" +
                        std::to_string(kLargestWindowSide) + "; the default auto is used");
    } else if (name == "music-volume" || name == "effects-volume") {
      int32_t& volume = name == "music-volume" ? prefs_.musicVolume : prefs_.effectsVolume;
      if (!ParseVolume(value, volume))
        Say(number, name + " " + Quoted(value) + " is not a whole number from 0 to 100; the default 100 is used");
    } else {
      const bool isKey = name.rfind("key.", 0) == 0;
      const int32_t action = ActionNamed(name.substr(isKey ? 4 : 7));
      Inputs(number, action, value, isKey ? KeyKind() : ButtonKind(), isKey ? keys_[action] : buttons_[action]);
    }
  }

  // A list of names separated by commas or spaces.
  void Inputs(int32_t number, int32_t action, const std::string& value, const InputKind& kind, Given& given) {
    const Bindings defaults = DefaultBindings();
    const std::vector<int32_t>& fallback = kind.prefix[0] == 'k' ? defaults.keys[action] : defaults.buttons[action];
    const std::string entry = std::string(kind.prefix) + "." + kActionInfo[action].name;
    const std::string refusal = "; the default " + ListText(fallback, kind) + " is used";
    std::vector<int32_t> inputs;
    std::string word;
    for (size_t i = 0; i <= value.size(); i++) {
      const char c = i < value.size() ? value[i] : ',';
      if (c != ',' && c != ' ' && c != '\t') {
        word += c;
        continue;
      }
      if (word.empty()) continue;
      const int32_t input = kind.lookup(word);
      std::string kept;
      if (input == 0) {
        Say(number, entry + ": " + Quoted(word) + " names no " + (kind.prefix[0] == 'k' ? "key" : "button") + refusal);
        return;
      }
      if (kind.prefix[0] == 'k' && KeyKeptForDesktop(input, kept)) {
        Say(number, entry + ": " + kind.name(input) + " is kept for " + kept + refusal);
        return;
      }
      if (std::find(inputs.begin(), inputs.end(), input) == inputs.end()) inputs.push_back(input);
      word.clear();
    }
    if (inputs.empty() && !kActionInfo[action].mayBeUnbound) {
      Say(number, entry + " names nothing, and " + kActionInfo[action].name + " needs one" + refusal);
      return;
    }
    given.line = number;
    given.inputs = inputs;
  }

  // The table of one kind: the entries given, in line order, and each action's defaults for the
  // rest less what the entries took. An entry that takes what an earlier one has, or that leaves
  // an action that needs one without any, is refused; refusals repeat until nothing clashes.
  void Resolve(const InputKind& kind, const std::vector<int32_t> (&defaults)[kActionCount], Given (&given)[kActionCount],
               std::vector<int32_t> (&out)[kActionCount]) {
    auto entry = [&](int32_t a) { return std::string(kind.prefix) + "." + kActionInfo[a].name; };
    auto refuse = [&](int32_t a, const std::string& why) {
      Say(given[a].line, entry(a) + ": " + why + "; the default " + ListText(defaults[a], kind) + " is used");
      given[a] = Given{};
    };
    for (bool again = true; again;) {
      again = false;
      std::vector<int32_t> order;
      for (int32_t a = 0; a < kActionCount; a++)
        if (given[a].line > 0) order.push_back(a);
      std::sort(order.begin(), order.end(), [&](int32_t x, int32_t y) { return given[x].line < given[y].line; });
      std::map<int32_t, int32_t> owner;  // input -> action of the entry that took it
      for (const int32_t a : order) {
        for (const int32_t input : given[a].inputs) {
          const auto taken = owner.find(input);
          if (taken == owner.end()) continue;
          refuse(a, kind.name(input) + " is " + entry(taken->second) + "'s already (line " +
                        std::to_string(given[taken->second].line) + ")");
          again = true;
          break;
        }
        if (again) break;
        for (const int32_t input : given[a].inputs) owner[input] = a;
      }
      if (again) continue;
      for (int32_t a = 0; a < kActionCount && !again; a++) {
        if (given[a].line > 0) continue;
        out[a].clear();
        int32_t taker = -1;
        for (const int32_t input : defaults[a]) {
          const auto taken = owner.find(input);
          if (taken == owner.end()) {
            out[a].push_back(input);
          } else if (taker < 0 || given[taken->second].line > given[taker].line) {
            taker = taken->second;
          }
        }
        if (!out[a].empty() || taker < 0 || kActionInfo[a].mayBeUnbound) continue;
        refuse(taker, "taking " + ListText(defaults[a], kind) + " would leave " + kActionInfo[a].name + " without any");
        again = true;
      }
      if (again) continue;
      for (int32_t a = 0; a < kActionCount; a++)
        if (given[a].line > 0) out[a] = given[a].inputs;
    }
  }

  std::string name_;
  std::vector<std::string>& problems_;
  std::vector<std::pair<int32_t, std::string>> said_;
  std::map<std::string, int32_t> lines_;
  Given keys_[kActionCount], buttons_[kActionCount];
  Preferences prefs_;
};

}  // namespace

Preferences ReadPreferences(std::FILE* file, const std::string& name, std::vector<std::string>& problems) {
  Reader reader(name, problems);
  ReadLinesBounded(file, kLongestPreferenceLine,
                   [&](int32_t number, const std::string& line, bool tooLong) { reader.Line(number, line, tooLong); });
  return reader.Finish();
}

Preferences ParsePreferences(const std::string& text, const std::string& name, std::vector<std::string>& problems) {
  Reader reader(name, problems);
  std::FILE* file = text.empty() ? nullptr : ::fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
  if (file) {
    ReadLinesBounded(file, kLongestPreferenceLine,
                     [&](int32_t number, const std::string& line, bool tooLong) { reader.Line(number, line, tooLong); });
    std::fclose(file);
  }
  return reader.Finish();
}

std::string FormatPreferences(const Preferences& p) {
  const Bindings defaults = DefaultBindings();
  const InputKind keys{"key", KeyName, KeyFromName}, buttons{"button", PadInputName, PadInputFromName};
  // One entry an action, with its default in the comment above it.
  std::string text;
  const auto entries = [&text](const std::vector<int32_t> (&given)[kActionCount],
                               const std::vector<int32_t> (&fallback)[kActionCount], const InputKind& kind) {
    for (int32_t a = 0; a < kActionCount; a++) {
      text += "\n# " + Capitalised(kActionInfo[a].what) + ". Default: " + ListText(fallback[a], kind) + ".\n";
      text += std::string(kind.prefix) + "." + kActionInfo[a].name + " =" + (given[a].empty() ? "" : " " + ListText(given[a], kind)) + "\n";
    }
  };
  text =
      "# Quorvex preferences. The game writes this file whenever you change something it keeps:\n"
      "# Alt+Enter or F11, the window's size, the volume keys. You may edit it while the game is\n"
      "# not running: each entry is NAME = VALUE, and # starts a comment. An entry left out, or one\n"
      "# the game cannot read, takes its default (the game says which, and why, on its error output).\n"
      "\n"
      "# Start on the full screen (yes) or in a window (no); Alt+Enter and F11 switch. Default: yes.\n"
      "fullscreen = " + std::string(YesNo(p.fullscreen)) + "\n"
      "\n"
      "# The window's size in pixels, WIDTHxHEIGHT, or auto to fit it to the display. Default: auto.\n"
      "window-size = " + SizeText(p.windowWidth, p.windowHeight) + "\n"
      "\n"
      "# The music's volume, 0 (silent) to 100; F5 lowers it, F6 raises it. Default: 100.\n"
      "music-volume = " + std::to_string(p.musicVolume) + "\n"
      "\n"
      "# The sound effects' volume, 0 (silent) to 100; F7 lowers it, F8 raises it. Default: 100.\n"
      "effects-volume = " + std::to_string(p.effectsVolume) + "\n"
      "\n"
      "# All sound off (yes) or on (no); F9 switches. Default: no.\n"
      "mute = " + YesNo(p.muted) + "\n"
      "\n"
      "# Keys by name (Up, Space, Return, PageUp, A, 1, Keypad8, LeftShift, ...; man 6 quorvex lists\n"
      "# them all), several separated by commas. A key serves one action; F5 to F9, F11 and the Alt\n"
      "# keys belong to the volumes and the full screen.\n";
  entries(p.bindings.keys, defaults.keys, keys);
  text +=
      "\n"
      "# Game controller buttons: A, B, X, Y, Back, Start, LeftShoulder, RightShoulder, LeftStick,\n"
      "# RightStick (where a pad of the usual layout has them), Up, Down, Left, Right (its D-pad and\n"
      "# left stick), or a button number from 1 to 32 for other joysticks.\n";
  entries(p.bindings.buttons, defaults.buttons, buttons);
  return text;
}

// --- At run time ----------------------------------------------------------------------------

namespace {

Preferences current;
std::string path;       // "" for none this run
bool pending = false;   // a change not yet written
uint32_t lastWrite = 0;
bool wroteOnce = false;
bool failureSaid = false;

void Write() {
  pending = false;
  if (path.empty()) return;
  std::string error;
  lastWrite = MillisecondsSinceStart();
  wroteOnce = true;
  if (WriteWholeFile(path, FormatPreferences(current), error)) return;
  if (!failureSaid) std::fprintf(stderr, "quorvex: could not save the preferences %s: %s\n", path.c_str(), error.c_str());
  failureSaid = true;
}

void OnWindowChange(int32_t change) {
  if (change == kWindowSwitched) current.fullscreen = WindowOnFullScreen();
  // The window comes back at the size it was left at, switched away from or resized to.
  int32_t width = 0, height = 0;
  PlayerWindowSize(width, height);
  if (width > 0 && height > 0) {
    current.windowWidth = std::clamp(width, kSmallestWindowW, kLargestWindowSide);
    current.windowHeight = std::clamp(height, kSmallestWindowH, kLargestWindowSide);
  }
  SavePreferences(change == kWindowResized);
}

void OnDesktopKey(int32_t code, bool alt, bool repeat) {
  if (repeat && code == DesktopKey::kMute) return;
  PressDesktopKey(code, alt);
}

void ShowVolume(const char* what, int32_t volume) {
  // The bar shows the level in tens.
  ShowNotice(std::string(what) + " " + std::to_string(volume) + "%", volume, kNoticeFrames);
}

}  // namespace

std::string PreferencesPath() {
  if (!harnessOptions.configFile.empty()) return harnessOptions.configFile;
  if (TestHarnessRun()) return "";
  const std::string config = XdgDirectory("XDG_CONFIG_HOME", ".config");
  return config.empty() ? "" : config + "/quorvex/quorvex.cfg";
}

void LoadPreferences() {
  ResetPreferencesState();
  path = PreferencesPath();
  if (!path.empty()) {
    struct stat info {};
    std::FILE* file = nullptr;
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
      std::fprintf(stderr, "quorvex: %s is not a regular file; the default preferences are used\n", path.c_str());
    } else if ((file = std::fopen(path.c_str(), "rb")) != nullptr) {
      std::vector<std::string> problems;
      current = ReadPreferences(file, path, problems);
      std::fclose(file);
      for (const std::string& problem : problems) std::fprintf(stderr, "%s\n", problem.c_str());
    } else if (errno != ENOENT) {
      std::fprintf(stderr, "quorvex: cannot read %s: %s; the default preferences are used\n", path.c_str(), std::strerror(errno));
    }
  }
  // The command line's choice of window wins for this run.
  if (!harnessOptions.window && !harnessOptions.fullscreen && harnessOptions.windowWidth == 0)
    SetWindowStyle(current.fullscreen ? kStyleFullscreen : kStyleWindow);
  if (harnessOptions.windowWidth == 0) SetPreferredWindowSize(current.windowWidth, current.windowHeight);
  SetMusicVolume(current.musicVolume);
  SetEffectsVolume(current.effectsVolume);
  SetSoundMuted(current.muted);
  SetBindings(current.bindings);
  SetWindowChangeHook(OnWindowChange);
  SetDesktopKeyHook(OnDesktopKey);
}

const Preferences& CurrentPreferences() { return current; }

void SavePreferences(bool soon) {
  if (soon && wroteOnce && MillisecondsSinceStart() - lastWrite < kResizeSaveDelay) {
    pending = true;
    return;
  }
  Write();
}

void KeepPreferencesSaved() {
  if (pending && MillisecondsSinceStart() - lastWrite >= kResizeSaveDelay) Write();
}

void FinishPreferences() {
  if (pending) Write();
}

void PressDesktopKey(int32_t code, bool altHeld) {
  using namespace DesktopKey;
  if (code == kFullscreen || (altHeld && code == kReturn)) {
    SwitchFullscreen();  // saved through the window's change
    return;
  }
  // Steps land on tens: 95 goes up to 100 and down to 90.
  auto up = [](int32_t volume) { return std::min(100, (volume / kVolumeStep + 1) * kVolumeStep); };
  auto down = [](int32_t volume) { return std::max(0, ((volume + kVolumeStep - 1) / kVolumeStep - 1) * kVolumeStep); };
  switch (code) {
    case kMusicDown:
    case kMusicUp:
      current.musicVolume = code == kMusicUp ? up(current.musicVolume) : down(current.musicVolume);
      current.muted = false;  // a volume key brings the sound back
      SetSoundMuted(false);
      SetMusicVolume(current.musicVolume);
      ShowVolume("MUSIC", current.musicVolume);
      break;
    case kEffectsDown:
    case kEffectsUp:
      current.effectsVolume = code == kEffectsUp ? up(current.effectsVolume) : down(current.effectsVolume);
      current.muted = false;
      SetSoundMuted(false);
      SetEffectsVolume(current.effectsVolume);
      ShowVolume("EFFECTS", current.effectsVolume);
      break;
    case kMute:
      current.muted = !current.muted;
      SetSoundMuted(current.muted);
      ShowNotice(current.muted ? "SOUND OFF" : "SOUND ON", -1, kNoticeFrames);
      break;
    default: return;
  }
  SavePreferences(true);
}

void ResetPreferencesState() {
  current = Preferences{};
  path.clear();
  pending = false;
  lastWrite = 0;
  wroteOnce = false;
  failureSaid = false;
}
