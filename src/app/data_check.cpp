// The data checker. It reads a base directory as start-up and play would (the configuration
// through the settings reader, the lists through the asset loaders, tiles through the tile
// reader, the font through the font loader) and then looks at what came out: every name that
// matches nothing, every file that is missing or does not decode, every value the game reads
// otherwise than it is written. Nothing here opens a window or the sound device.
#include "app/data_check.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "app/data_lookup.h"
#include "app/main_loop.h"
#include "core/error_report.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "data/screen_text.h"
#include "game/level.h"
#include "game/player.h"
#include "media/blending.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"
#include "ui/hud.h"
#include "ui/menus.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"
#include "world/world_map.h"

namespace {

// ---- Texts ------------------------------------------------------------------------------------

// A data text in double quotes, readable on a terminal: Windows-1252 letters become UTF-8 and
// control bytes are written as \xNN.
std::string Quote(const std::string& text) {
  // A line of a broken file can be long; the start says enough.
  constexpr size_t kLongest = 48;
  std::string out = "\"";
  for (const unsigned char c : text.substr(0, kLongest)) {
    if (c >= 0xA0) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + (text.size() > kLongest ? "...\"" : "\"");
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Edits (insert, delete, replace) from one text to the other, letter case ignored.
size_t Distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); j++) row[j] = j;
  for (size_t i = 1; i <= a.size(); i++) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); j++) {
      const size_t above = row[j];
      const size_t change = diagonal + (UpperChar(a[i - 1]) == UpperChar(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, change});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The candidate a misspelt name was most probably meant to be, or "" when none is close: the
// same text without blanks around it, or one within a couple of edits.
std::string Nearest(const std::string& name, const std::vector<std::string>& candidates) {
  const std::string trimmed = Trim(name);
  std::string best;
  size_t bestDistance = 1 + trimmed.size() / 6;
  for (const std::string& candidate : candidates) {
    if (candidate == name) continue;
    if (candidate == trimmed) return candidate;
    const size_t d = Distance(trimmed, candidate);
    if (d < bestDistance || (d == bestDistance && best.empty())) {
      best = candidate;
      bestDistance = d;
    }
  }
  return best;
}

// "1 error", "2 warnings".
std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// Numbers as the readers take them: blanks and tabs, a sign, digits; the rest is ignored.
bool IsWholeNumber(const std::string& value) {
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) i++;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) i++;
  const size_t digits = i;
  while (i < value.size() && value[i] >= '0' && value[i] <= '9') i++;
  if (i == digits || Trim(value.substr(i)) != "") return false;
  // Beyond 32 bits the reader wraps round.
  const std::string number = Trim(value);
  const double magnitude = std::strtod(number.c_str(), nullptr);
  return magnitude >= -2147483648.0 && magnitude <= 2147483647.0;
}

// A decimal number with an optional fraction and exponent, and nothing after it but blanks.
bool IsDecimalNumber(const std::string& value) {
  const std::string v = Trim(value);
  size_t i = 0;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) i++;
  size_t digits = 0;
  while (i < v.size() && v[i] >= '0' && v[i] <= '9') i++, digits++;
  if (i < v.size() && v[i] == '.') {
    i++;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') i++, digits++;
  }
  if (digits == 0) return false;
  if (i < v.size() && (v[i] == 'e' || v[i] == 'E')) {
    i++;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) i++;
    const size_t exponent = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') i++;
    if (i == exponent) return false;
  }
  return i == v.size() && std::isfinite(TextToFloat(v));
}

bool HasDigits(const std::string& value) { return value.find_first_of("0123456789") != std::string::npos; }

std::string FloatText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

std::string FlagText(const std::string& value) {
  return NumberText(static_cast<int8_t>(static_cast<uint8_t>(TextToInteger(value) & 0xFF)));
}

// ---- Files ------------------------------------------------------------------------------------

// A path as the file system writes it, without doubled separators.
std::string Native(const std::string& path) {
  std::string out;
  for (const char c : NativePath(path))
    if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
  return out;
}

enum class Found { kExactly, kOtherCase, kDirectory, kMissing };

struct Lookup {
  Found found = Found::kMissing;
  std::string actual;  // the path the game ends up opening
};

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

// Finds a file the way the file layer does: exactly, or else by ignoring letter case.
Lookup FindFile(const std::string& path) {
  const std::string native = Native(path);
  if (IsFile(native)) return {Found::kExactly, native};
  const std::string resolved = Native(ResolvePath(path));
  if (resolved != native && IsFile(resolved)) return {Found::kOtherCase, resolved};
  if (IsDirectory(native) || IsDirectory(resolved)) return {Found::kDirectory, resolved};
  return {Found::kMissing, native};
}

Lookup FindDirectory(const std::string& path) {
  const std::string native = Native(path.empty() ? "." : path);
  if (IsDirectory(native)) return {Found::kExactly, native};
  const std::string resolved = Native(ResolvePath(native));
  if (resolved != native && IsDirectory(resolved)) return {Found::kOtherCase, resolved};
  if (IsFile(native) || IsFile(resolved)) return {Found::kDirectory, resolved};  // a file where a directory belongs
  return {Found::kMissing, native};
}

// The file names of a directory's files matching a pattern, in the game's listing order.
std::vector<std::string> ListFiles(const std::string& directory, const std::string& pattern) {
  std::vector<std::string> names;
  const int32_t listing = ListDirectory(-1, directory, pattern);
  if (listing == 0) return names;
  while (NextEntry(listing))
    if (EntryType(listing) == kEntryFile) names.push_back(EntryName(listing));
  EndListing(listing);
  return names;
}

bool ImageDecodes(const std::string& path) {
  const int32_t image = LoadImage(-1, path);
  FreeImage(image);
  return image != 0;
}

bool SoundDecodes(const std::string& path) {
  const int32_t sound = LoadSoundFile(-1, path);
  FreeSound(sound);
  return sound != 0;
}

// ---- Line-pair files --------------------------------------------------------------------------

struct Pair {
  std::string key, value;
  int32_t keyLine = 0, valueLine = 0;
  bool hasValue = true;  // false: the file ended after the key line
};

// Reads the pairs of a file as every line-pair reader of the game does.
bool ReadPairs(const std::string& path, std::vector<Pair>& pairs) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  int32_t line = 0;
  while (!AtEndOfFile(file)) {
    Pair pair;
    pair.key = ReadLine(file);
    pair.keyLine = ++line;
    pair.hasValue = !AtEndOfFile(file);
    pair.value = ReadLine(file);
    pair.valueLine = ++line;
    pairs.push_back(std::move(pair));
  }
  CloseTextFile(file);
  return true;
}

bool IsComment(const std::string& key) { return !key.empty() && key[0] == '#'; }

// The last pair of each key in a file.
std::map<std::string, const Pair*> LastPairs(const std::vector<Pair>& pairs) {
  std::map<std::string, const Pair*> last;
  for (const Pair& pair : pairs) last[pair.key] = &pair;
  return last;
}

// ---- The checker ------------------------------------------------------------------------------

// Where a sound, tile, child or glyph name was written, for problems about it.
struct Place {
  std::string file;
  int32_t line = 0;
};

class Checker {
 public:
  DataCheck Run();

 private:
  void Problem(bool error, const std::string& path, int32_t line, const std::string& text);
  void Error(const Place& at, const std::string& text) { Problem(true, at.file, at.line, text); }
  void Warning(const Place& at, const std::string& text) { Problem(false, at.file, at.line, text); }
  std::string Shown(const std::string& path) const;
  void Read(const std::string& path) { read_.insert(Native(path)); }

  // A file the data names: false (and a problem at `at`) when it is missing; a warning when
  // the game finds it only by ignoring letter case.
  bool NeedFile(const Place& at, const std::string& what, const std::string& path, const std::string& effect,
                const std::string& todo = "put the file there, or name one that is");

  // Keys of a line-pair file: unknown keys (returned, with the pairs they stand in) and pairs
  // read out of step. Returns false when the file is read out of step from some pair on.
  bool CheckKeys(const std::string& path, const std::vector<Pair>& pairs, const std::vector<std::string>& keys,
                 std::vector<const Pair*>* unknown);
  void ReportUnknownKeys(const std::string& path, const std::vector<const Pair*>& unknown,
                         const std::vector<std::string>& keys);

  // The configuration; false when the rest cannot be checked (no file, or pairs out of step).
  bool CheckConfiguration();
  Place SettingPlace(const std::string& key) const;
  void SettingProblem(bool error, const std::string& key, const std::string& what, const std::string& todo);
  void CheckSettingValues();
  void CheckSettingFormats();
  void CheckDirectories();
  // The directory a setting names exists: names that point into it are worth checking.
  bool DirectoryUsable(const std::string& key) const { return usable_.count(key) != 0; }

  // Lists, pictures, sounds, font, objects, tiles, maps.
  void CheckTopography();
  void CheckObjects();
  void CheckSounds();
  void CheckMusic();
  void CheckFloatingImages(const std::string& key);
  void CheckPictures();
  void CheckFont();
  void CheckLabyrinth();
  void CheckWorld();
  void CheckTileFile(const std::string& name, const std::string& path);
  bool CheckNamedTile(const std::string& directory, const std::string& name, std::set<std::string>& checked);
  void CheckOtherTiles(const std::string& directory, const std::set<std::string>& checked);
  void CheckImageName(const Place& at, const std::string& key, const std::string& name);
  void CheckSoundName(const Place& at, const std::string& key, const std::string& name);
  void CheckChildName(const Place& at, const std::string& key, const std::string& name);

  DataCheck result_;
  std::set<std::string> read_;
  std::string ini_;                                // the configuration file as shown
  std::vector<Pair> iniPairs_;
  std::map<std::string, const Pair*> settingPairs_;  // the last pair of each known key
  std::vector<const Pair*> unknownSettings_;
  std::set<const Pair*> foldedUnknown_;            // unknown keys reported with the setting they miss
  std::set<std::string> reportedSettings_;
  std::set<std::string> usable_;                   // directory settings whose directory exists
};

std::string Checker::Shown(const std::string& path) const {
  std::string shown = Native(path);
  const std::string base = Native(baseDirectory);
  if (!base.empty() && shown.compare(0, base.size(), base) == 0) shown = shown.substr(base.size());
  while (shown.compare(0, 2, "./") == 0) shown = shown.substr(2);
  return shown;
}

// Control bytes written as \xNN, so that a line of the report stays one line.
std::string Printable(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c >= 0x20 && c != 0x7F) {
      out += static_cast<char>(c);
      continue;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += hex;
  }
  return out;
}

void Checker::Problem(bool error, const std::string& path, int32_t line, const std::string& text) {
  result_.problems.push_back({Printable(Shown(path)), line, error, Printable(text)});
}

bool Checker::NeedFile(const Place& at, const std::string& what, const std::string& path, const std::string& effect,
                       const std::string& todo) {
  const Lookup lookup = FindFile(path);
  switch (lookup.found) {
    case Found::kExactly:
      Read(lookup.actual);
      return true;
    case Found::kOtherCase:
      Read(lookup.actual);
      Warning(at, what + " is " + Shown(path) + ", found only as " + Shown(lookup.actual) +
                      " (write the name with the letter case it has on disk)");
      return true;
    case Found::kDirectory:
      Error(at, what + " " + Shown(path) + " is a directory, not a file: " + effect + " (" + todo + ")");
      return false;
    case Found::kMissing: break;
  }
  Error(at, what + " " + Shown(path) + " is missing: " + effect + " (" + todo + ")");
  return false;
}

bool Checker::CheckKeys(const std::string& path, const std::vector<Pair>& pairs, const std::vector<std::string>& keys,
                        std::vector<const Pair*>* unknown) {
  const std::set<std::string> known(keys.begin(), keys.end());
  for (const Pair& pair : pairs) {
    // A key line used as a value shifts every pair after it.
    if (known.count(pair.value) != 0) {
      Error({path, pair.valueLine}, "the key " + pair.value + " stands where the value of " +
                                       (pair.key.empty() ? std::string("an empty key line") : Quote(pair.key)) +
                                       " belongs, so every pair from here on is read out of step (keys and values "
                                       "alternate line by line: a line is missing or one too many above)");
      return false;
    }
    if (known.count(pair.key) != 0) {
      if (!pair.hasValue)
        Warning({path, pair.keyLine}, pair.key + " is the last line: the game reads an empty value for it (add its value line)");
      continue;
    }
    if (IsComment(pair.key) || (pair.key.empty() && pair.value.empty())) continue;
    unknown->push_back(&pair);
  }
  return true;
}

void Checker::ReportUnknownKeys(const std::string& path, const std::vector<const Pair*>& unknown,
                                const std::vector<std::string>& keys) {
  // A file of many unknown keys is likely no line-pair file at all; a few lines say so.
  constexpr size_t kMostNamed = 5;
  size_t named = 0;
  for (const Pair* pair : unknown) {
    if (foldedUnknown_.count(pair) != 0) continue;
    if (++named > kMostNamed) {
      Warning({path, pair->keyLine}, "and " + std::to_string(unknown.size() - kMostNamed) +
                                         " more unknown keys from here on (is this a file of key and value lines?)");
      return;
    }
    const std::string near = Nearest(pair->key, keys);
    std::string text = pair->key.empty() ? "an empty line stands where a key belongs: the game skips it and the value line "
                                         : "unknown key " + Quote(pair->key) + ": the game skips it and the value line ";
    if (!near.empty() && near == Trim(pair->key))
      text += "after it (keys are read whole, blanks and all: write " + near + ")";
    else
      text += "after it (" + (near.empty() ? std::string("a comment pair starts with #") : "did you mean " + near + "?") + ")";
    Warning({path, pair->keyLine}, text);
  }
}

// ---- Configuration ----------------------------------------------------------------------------

bool Checker::CheckConfiguration() {
  const std::string path = baseDirectory + "DATA\\ini.txt";
  ini_ = path;
  const Lookup lookup = FindFile(path);
  if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) {
    Error({path, 0}, "there is no configuration file, so the game stops at once with \"" + ErrorText(kErrorConfiguration, path) +
                         "\" (every base directory holds DATA/ini.txt; check --data)");
    return false;
  }
  if (lookup.found == Found::kOtherCase)
    Warning({lookup.actual, 0}, "the configuration file is found only by ignoring letter case (name it DATA/ini.txt)");
  ini_ = lookup.actual;
  Read(lookup.actual);
  ReadSettingsFile(path);
  ReadPairs(path, iniPairs_);

  result_.configured = true;
  result_.labyrinthMode = settings.USESELFCREATEBASE == 1;
  // Past a pair read out of step every setting is shifted: that one mistake is the report.
  if (!CheckKeys(ini_, iniPairs_, SettingKeys(), &unknownSettings_)) return false;
  for (const Pair& pair : iniPairs_) {
    SettingKind kind;
    if (FindSettingKind(pair.key, kind)) settingPairs_[pair.key] = &pair;
  }
  return true;
}

Place Checker::SettingPlace(const std::string& key) const {
  const auto found = settingPairs_.find(key);
  if (found != settingPairs_.end()) return {ini_, found->second->valueLine};
  return {ini_, 0};
}

// " is not a number" for the value of a numeric key that does not read as one.
std::string NumberNote(const std::string& key, const std::string& value) {
  SettingKind kind;
  if (!FindSettingKind(key, kind)) return "";
  const bool integer = kind == SettingKind::kInteger || kind == SettingKind::kFlag;
  if (!integer && kind != SettingKind::kFloat) return "";
  if (!HasDigits(value)) return " is not a number";
  if (integer ? !IsWholeNumber(value) : !IsDecimalNumber(value)) return " is not a plain number";
  return "";
}

void Checker::SettingProblem(bool error, const std::string& key, const std::string& what, const std::string& todo) {
  // One problem a setting: the first found is the one to mend first.
  if (!reportedSettings_.insert(key).second) return;
  const auto found = settingPairs_.find(key);
  if (found != settingPairs_.end()) {
    const Pair& pair = *found->second;
    Problem(error, ini_, pair.valueLine, key + " " + Quote(pair.value) + NumberNote(key, pair.value) + ": " + what + " (" + todo + ")");
    return;
  }
  // A misspelt key is the likeliest reason for a setting to be missing.
  for (const Pair* unknown : unknownSettings_) {
    if (foldedUnknown_.count(unknown) != 0 || Nearest(unknown->key, {key}) != key) continue;
    foldedUnknown_.insert(unknown);
    Problem(error, ini_, unknown->keyLine,
            Quote(unknown->key) + " is no key, so " + key + " is not set: " + what + " (did you mean " + key + "?)");
    return;
  }
  Problem(error, ini_, 0, key + " is not set: " + what + " (" + todo + ")");
}

bool IsSet(const std::map<std::string, const Pair*>& pairs, const std::string& key) { return pairs.count(key) != 0; }

void Checker::CheckSettingValues() {
  const bool labyrinth = result_.labyrinthMode;
  const auto raw = [this](const std::string& key) {
    const auto found = settingPairs_.find(key);
    return found == settingPairs_.end() ? std::string() : found->second->value;
  };

  if (gameState.drawWorld != 1) {
    // The later of the two keys decides.
    const Pair* window = IsSet(settingPairs_, "WINDOWMODE") ? settingPairs_["WINDOWMODE"] : nullptr;
    const Pair* sprite = IsSet(settingPairs_, "USESPRITE3D") ? settingPairs_["USESPRITE3D"] : nullptr;
    const std::string key = (sprite && (!window || sprite->keyLine > window->keyLine)) ? "USESPRITE3D" : "WINDOWMODE";
    SettingProblem(true, key, "the play field is never drawn; the later of WINDOWMODE and USESPRITE3D decides",
                   "set it to 1");
  }

  const float tile = settings.RESOLUTION;
  if (!(tile > 0.0f) || !std::isfinite(tile))
    SettingProblem(true, "RESOLUTION", "the game reads a tile size of " + FloatText(tile) + " pixels, so the play field stays black",
                   "write the tile size in pixels, such as 40");

  if (settings.RESBASEW <= 0)
    SettingProblem(true, "RESBASEW", "the font is scaled by the screen width divided by RESBASEW, so every text vanishes",
                   "write the screen width the glyphs are drawn for, such as 1280");
  else if (!IsSet(settingPairs_, "RESBASEW"))
    SettingProblem(false, "RESBASEW", "the glyphs are drawn at the screen width times their size",
                   "set it to the screen width the glyphs are drawn for, such as 1280");

  const float zoom = settings.FULLSCREENZOOM;
  if (!(zoom > 0.0f) || !std::isfinite(zoom))
    SettingProblem(true, "FULLSCREENZOOM", "the zoom pass grabs nothing, so the play field stays black",
                   "write a fraction of the screen above 0 and up to 1.0, such as 1.0");
  else if (zoom > 1.0f)
    SettingProblem(false, "FULLSCREENZOOM", "more than the whole screen cannot be grabbed; it acts as 1.0", "write 1.0 or less");

  if (!IsSet(settingPairs_, "CURSORSPEED")) {
    SettingProblem(false, "CURSORSPEED", "the player moves a cell every frame while a key is held",
                   "set it from 0 (slowest) to 255 (fastest), such as 249 for a cell every 7 frames");
  } else {
    const int32_t speed = TextToInteger(raw("CURSORSPEED"));
    if (speed < 0 || speed > 255)
      SettingProblem(false, "CURSORSPEED", "the game holds it to 0..255 and uses " + NumberText(255 - settings.CURSORSPEED),
                     "write a value from 0 to 255");
  }

  if (IsSet(settingPairs_, "MAPSIZE")) {
    const int32_t size = TextToInteger(raw("MAPSIZE"));
    if (size != settings.MAPSIZE)
      SettingProblem(false, "MAPSIZE", "the game takes " + NumberText(settings.MAPSIZE) + " instead", "write 0 to 1024");
    else if (labyrinth && size > kMaxLabyrinthSide)
      SettingProblem(false, "MAPSIZE", "labyrinths larger than " + NumberText(kMaxLabyrinthSide) + " cells are cut to " +
                                           NumberText(kMaxLabyrinthSide),
                     "write " + NumberText(kMaxLabyrinthSide) + " or less");
  }
  if (labyrinth && settings.MAPSIZE < 4)
    SettingProblem(false, "MAPSIZE", "every level after the first is at most " + NumberText(settings.MAPSIZE) + " x " +
                                         NumberText(settings.MAPSIZE) + " cells, too small for a labyrinth",
                   "set the largest labyrinth side, such as 64");

  for (const char* key : {"EGFXMAX", "SCREGFXMAX"}) {
    const int32_t copies = key[0] == 'E' ? settings.EGFXMAX : settings.SCREGFXMAX;
    if (copies >= kMostFloatingCopies)
      SettingProblem(false, key, "the game loads only " + NumberText(kMostFloatingCopies) + " copies of each image",
                     "write " + NumberText(kMostFloatingCopies - 1) + " or less");
  }
  if (settings.MULTITASK > kLongestFrameSleep)
    SettingProblem(false, "MULTITASK", "the game sleeps at most " + NumberText(kLongestFrameSleep) + " ms a frame",
                   "write the milliseconds to sleep after every frame, usually 0");

  // A clock second lasts WORLDREFRESH + 1 frames; the world's clock starts at 0, so its
  // first second ends the visit.
  const int64_t frames = static_cast<int64_t>(settings.WORLDREFRESH) + 1;
  if (!labyrinth && frames < int64_t{60} * kMostFramesPerSecond) {
    const std::string seconds = frames <= kMostFramesPerSecond ? "a second" : "about " + NumberText(static_cast<int32_t>(frames / kMostFramesPerSecond)) + " seconds";
    SettingProblem(false, "WORLDREFRESH",
                   "the world's clock starts at 0, so its first clock second (" +
                       Count(static_cast<size_t>(std::max<int64_t>(frames, 1)), "frame") + ") ends the visit after " + seconds,
                   "write 2147483647 for a visit without end");
  } else if (labyrinth && settings.WORLDREFRESH < 0) {
    SettingProblem(false, "WORLDREFRESH", "every frame is a clock second", "write the frames of a clock second less one, such as 60");
  }

  if (labyrinth && settings.LABSWITCH < 0)
    SettingProblem(false, "LABSWITCH", "the walkers never turn, so every level carves a single cell",
                   "write 0 or more: a walker turns with chance 1 in LABSWITCH + 1");

  if (IsSet(settingPairs_, "GAMEMODE") && settings.GAMEMODE != kHardcoreMode && settings.GAMEMODE != "DEFAULT")
    SettingProblem(false, "GAMEMODE", std::string("only ") + kHardcoreMode + " changes the game; this plays the normal game",
                   std::string("write ") + kHardcoreMode + " or DEFAULT");

  if (settings.GFXCODEC.empty())
    SettingProblem(true, "GFXCODEC", "images are listed as * alone, so every file becomes an image and no object finds its definition",
                   "write the images' extension with its dot, such as .png");
  else if (settings.GFXCODEC[0] != '.')
    SettingProblem(false, "GFXCODEC", "the images' extension is written with its dot", "such as .png");

  // Foes come only from definitions that ask for them.
  if (labyrinth && settings.MAXFOE > 0 && DirectoryUsable("WORLDGFX") &&
      std::none_of(objectDefinitions.begin(), objectDefinitions.end(), [](const ObjectDefinition& d) { return d.DISENEMY != 0; }))
    SettingProblem(false, "MAXFOE", "no object definition has DISENEMY 1, so no foe ever appears",
                   "give a foe's definition DISENEMY 1, or write 0");
}

// Values that do not read as the number or flag their key needs (keys not reported otherwise).
void Checker::CheckSettingFormats() {
  for (const auto& [key, pair] : settingPairs_) {
    if (reportedSettings_.count(key) != 0 || !pair->hasValue) continue;
    SettingKind kind;
    FindSettingKind(key, kind);
    const Place at{ini_, pair->valueLine};
    const std::string value = pair->value;
    if (kind == SettingKind::kInteger || kind == SettingKind::kFlag) {
      const std::string reads = kind == SettingKind::kFlag ? FlagText(value) : NumberText(TextToInteger(value));
      if (!HasDigits(value))
        Error(at, key + " " + Quote(value) + " is not a number: the game reads " + reads + " (write a whole number)");
      else if (!IsWholeNumber(value))
        Warning(at, key + " " + Quote(value) + " is not a whole number: the game reads " + reads + " (write a whole number)");
      else if (kind == SettingKind::kFlag && TextToInteger(value) != 0 && TextToInteger(value) != 1)
        Warning(at, key + " " + Quote(value) + " is a flag: the game keeps the low 8 bits and reads " + reads + " (write 0 or 1)");
    } else if (key == "SCREENSIZE") {
      int32_t width = 0, height = 0;
      if (!value.empty() && !ParseScreenSize(value, width, height))
        Error(at, key + " " + Quote(value) + " is not a screen size: the game draws for the desktop's size instead "
                        "(write WIDTHxHEIGHT, such as 1280x720, each side 16 to 8192)");
    } else if (kind == SettingKind::kFloat) {
      const std::string reads = FloatText(TextToFloat(value));
      if (!HasDigits(value) || !std::isfinite(TextToFloat(value)))
        Error(at, key + " " + Quote(value) + " is not a number: the game reads " + reads + " (write a decimal number, such as 1.0)");
      else if (!IsDecimalNumber(value))
        Warning(at, key + " " + Quote(value) + " is not a plain decimal number: the game reads " + reads +
                        " (write a decimal number, such as 1.0)");
    }
  }
}

// A directory setting: what it is for, and what the game does without it.
struct DirectorySetting {
  const char* key;
  bool worldOnly;       // only world mode reads it
  bool addsSeparator;   // the game puts a separator after it itself
  const char* example;  // a value as the demo writes it
  const char* unset;    // what the game does when it is not set
};

constexpr DirectorySetting kDirectorySettings[] = {
    {"TOPOGFX", false, false, "DATA\\TOPO\\", "the game takes the tile graphics from the base directory itself"},
    {"WORLDGFX", false, false, "DATA\\OBJ\\", "the game scans the base directory itself and turns its images into object definitions"},
    {"SOUNDFXPATH", false, false, "DATA\\SFX\\", "the game loads the base directory's own .ogg files as sound effects"},
    {"INGAMEMUSIC", false, false, "DATA\\MUSIC\\", "the game plays the base directory's own .ogg files as music"},
    {"EGFXPATH", false, false, "DATA\\EFX\\", "the base directory's own .png files float over the game"},
    {"SCREGFXPATH", false, false, "DATA\\SCRFX\\", "the base directory's own .png files float over the title screen"},
    {"FONTPATH", false, true, "DATA\\FONT\\", "the game looks for the glyph images in the root directory, so every text is invisible"},
    {"RGBCODEPATH", false, false, "DATA\\RGB\\", "the game looks for the tile directory APPSTART\\ in the base directory itself"},
    {"APPENTRY", true, false, "DATA\\MAPS\\", "the game looks for the map files in the base directory itself"},
};

void Checker::CheckDirectories() {
  for (const DirectorySetting& d : kDirectorySettings) {
    if (d.worldOnly && result_.labyrinthMode) continue;
    const std::string key = d.key;
    const auto found = settingPairs_.find(key);
    const std::string value = found == settingPairs_.end() ? "" : found->second->value;
    if (value.empty()) {
      // The names that would point into it are not checked one by one: this is the mistake.
      SettingProblem(false, key, d.unset, std::string("set it to the directory, ending in \\, such as ") + d.example);
      continue;
    }
    const char last = value.back();
    if (!d.addsSeparator && last != '\\' && last != '/') {
      SettingProblem(true, key, "it does not end with \\, and the game joins file names straight onto it",
                     "write " + value + "\\");
      continue;
    }
    // The directory as the game lists it: path settings are already joined to the base.
    std::string directory = key == "RGBCODEPATH" ? TileDirectory() : value;
    SettingKind kind;
    if (FindSettingKind(key, kind) && kind == SettingKind::kPath) directory = baseDirectory + value;
    if (key == "APPENTRY") continue;  // a prefix of the map's path; the map itself is checked
    const Lookup lookup = FindDirectory(directory);
    if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) {
      if (key == "RGBCODEPATH" && IsDirectory(Native(value)))
        SettingProblem(true, "APPSTART", "there is no tile directory " + Shown(directory) + " (RGBCODEPATH followed by APPSTART)",
                       "make the directory, or name the tile set it holds");
      else
        SettingProblem(true, key, "there is no directory " + Shown(directory), "make it, or name the directory that holds the files");
      continue;
    }
    if (lookup.found == Found::kOtherCase)
      SettingProblem(false, key, "the directory is found only as " + Shown(lookup.actual), "write it with the letter case it has on disk");
    usable_.insert(key);
  }
}

// ---- Images, sounds, music ----------------------------------------------------------------------

const std::string kImageFormats = "save it as PNG, JPEG, TGA or TIFF";

void Checker::CheckTopography() {
  LoadTopographyImages();
  if (!DirectoryUsable("TOPOGFX")) return;
  for (const TopographyImage& image : topographyImages) {
    Read(image.path);
    if (image.sprite != 0) continue;
    Error({image.path, 0}, "the tile graphic does not decode, so tiles that name it draw nothing (" + kImageFormats + ")");
  }
}

void Checker::CheckSounds() {
  LoadSoundEffects();
  if (!DirectoryUsable("SOUNDFXPATH")) return;
  for (const SoundEntry& sound : soundEffects) {
    Read(sound.path);
    if (!sound.loaded) Error({sound.path, 0}, "the sound does not decode, so it never plays (save it as OGG Vorbis or WAV)");
  }
  for (const std::string& key : SettingKeys()) {
    SettingKind kind;
    if (!FindSettingKind(key, kind) || kind != SettingKind::kSoundName) continue;
    const auto found = settingPairs_.find(key);
    if (found == settingPairs_.end() || found->second->value.empty()) continue;
    CheckSoundName({ini_, found->second->valueLine}, key, found->second->value);
  }
}

void Checker::CheckSoundName(const Place& at, const std::string& key, const std::string& name) {
  if (!DirectoryUsable("SOUNDFXPATH")) return;
  std::vector<std::string> names;
  for (const SoundEntry& sound : soundEffects) {
    if (sound.fileName == name) return;
    names.push_back(sound.fileName);
  }
  const std::string near = Nearest(name, names);
  const Lookup lookup = FindFile(settings.SOUNDFXPATH + name);
  std::string text = key + " " + Quote(name) + ": ";
  if (!near.empty() && Distance(near, name) == 0)
    text += "the sound is " + near + ", and names must match letter case and all, so it never plays (write " + near + ")";
  else if (lookup.found == Found::kExactly || lookup.found == Found::kOtherCase)
    text += Shown(lookup.actual) + " is not among the sound effects, which are the .ogg files, so it never plays (save it as OGG Vorbis)";
  else
    text += "there is no sound " + Shown(settings.SOUNDFXPATH + name) + ", so it never plays" +
            (near.empty() ? std::string(" (put the sound there, or name one that is)") : " (did you mean " + near + "?)");
  Error(at, text);
}

void Checker::CheckMusic() {
  LoadMusicList();
  if (!DirectoryUsable("INGAMEMUSIC")) return;
  bool title = false;
  for (const MusicEntry& track : musicTracks) {
    Read(track.path);
    title = title || track.fileName == kTitleMusic;
    if (!SoundDecodes(track.path)) Error({track.path, 0}, "the music track does not decode, so it plays as silence (save it as OGG Vorbis)");
  }
  if (musicTracks.empty())
    SettingProblem(false, "INGAMEMUSIC", "the directory holds no .ogg track, so the game is silent", "put the music there");
  else if (!title)
    SettingProblem(false, "INGAMEMUSIC", std::string("there is no ") + kTitleMusic + " in it, so the title screen is silent",
                   std::string("add the title's track as ") + kTitleMusic);
}

void Checker::CheckFloatingImages(const std::string& key) {
  if (!DirectoryUsable(key)) return;
  const std::string& directory = key == "EGFXPATH" ? settings.EGFXPATH : settings.SCREGFXPATH;
  for (const std::string& name : ListFiles(directory, "*.png")) {
    Read(directory + name);
    if (!ImageDecodes(directory + name)) Error({directory + name, 0}, "the floating image does not decode, so it never shows (" + kImageFormats + ")");
  }
}

void Checker::CheckPictures() {
  // The credits picture takes turns between the two files its "#" stands for.
  if (!settings.LOADSCREEN.empty()) {
    const Place at = SettingPlace("LOADSCREEN");
    if (CreditsPicturePath(0).empty()) {
      SettingProblem(false, "LOADSCREEN", "without a # no picture loads, and the first credits page stays black",
                     "write the picture's name with # for a digit, such as DATA\\GFX\\LOAD#.png for LOAD0.png and LOAD1.png");
    } else {
      for (int32_t digit = 0; digit <= 1; digit++) {
        const std::string path = CreditsPicturePath(digit);
        if (NeedFile(at, "the credits picture", path, "the credits screen shows black when it is chosen") && !ImageDecodes(path))
          Error({path, 0}, "the credits picture does not decode, so the credits screen shows black when it is chosen (" + kImageFormats + ")");
      }
    }
  }
  if (!settings.LOADINTROSCREEN.empty()) {
    const std::string& path = settings.LOADINTROSCREEN;
    if (NeedFile(SettingPlace("LOADINTROSCREEN"), "the title picture", path, "the title screen is drawn on black") &&
        !ImageDecodes(path))
      Error({path, 0}, "the title picture does not decode, so the title screen is drawn on black (" + kImageFormats + ")");
  }
}

// ---- The font ---------------------------------------------------------------------------------

// A character of a text, shown for people: "A", or "ö (code 246)".
std::string CharacterName(uint8_t c) {
  const std::string shown = Quote(std::string(1, static_cast<char>(c)));
  return c < 0x80 ? shown : shown + " (code " + std::to_string(c) + ")";
}

void Checker::CheckFont() {
  // What the game draws: every text of the screens and the display.
  std::map<uint8_t, std::string> drawn;  // character -> a text that draws it
  std::vector<std::string> texts = MenuTexts();
  for (const std::string& text : HudTexts()) texts.push_back(text);
  for (const std::string& text : texts)
    for (const char c : text) {
      const uint8_t code = static_cast<uint8_t>(c);
      if (code != '|' && code != '\\' && code != ' ' && drawn.count(code) == 0) drawn[code] = Trim(text.substr(0, text.find('|')));
    }

  ReloadScreenFont();
  if (settings.FONTSYSTEM.empty()) {
    SettingProblem(true, "FONTSYSTEM", "there is no font, so every text is invisible", "name the font's character list, such as DATA\\CHARS.txt");
    return;
  }
  const Place listPlace = SettingPlace("FONTSYSTEM");
  if (!NeedFile(listPlace, "the font's character list", settings.FONTSYSTEM, "every text is invisible")) return;
  const Place line{settings.FONTSYSTEM, 1};
  const int32_t file = OpenTextFile(-1, settings.FONTSYSTEM);
  const std::string characters = ReadLine(file);
  CloseTextFile(file);
  if (characters.empty()) {
    Error(line, "the first line lists no character, so every text is invisible (list the font's characters on line 1)");
    return;
  }
  if (!DirectoryUsable("FONTPATH")) return;

  // Each character of the list loads its glyph image (some share one).
  // Characters nothing draws are named together, the ones the game draws one by one.
  std::set<uint8_t> listed, missing;
  std::vector<std::string> markup, unused;
  for (const char c : characters) {
    const uint8_t character = static_cast<uint8_t>(c);
    if (!listed.insert(character).second) continue;
    const GlyphName name = GlyphFileName(character);
    if (character == '|' || character == '\\' || character == ' ' || character == '/') {
      markup.push_back(CharacterName(character));
      continue;
    }
    const std::string path = settings.FONTPATH + "\\" + name.baseName + ".png";
    const bool needed = drawn.count(name.code) != 0;
    const std::string what = "the glyph of " + CharacterName(character);
    const std::string effect = "every " + CharacterName(name.code) + " vanishes from the screens and the display";
    const Lookup lookup = FindFile(path);
    const bool found = lookup.found == Found::kExactly || lookup.found == Found::kOtherCase;
    if (found) NeedFile(line, what, path, effect);
    if (found && ImageDecodes(path)) continue;
    missing.insert(name.code);
    if (!needed)
      unused.push_back(CharacterName(character));
    else if (!found)
      Error(line, what + ", " + Shown(path) + ", is missing: " + effect + " (draw it, or leave the character out)");
    else
      Error({path, 0}, what + " does not decode: " + effect + " (save it as PNG)");
  }
  auto list = [](const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size() && i < 8; i++) text += (i == 0 ? "" : ", ") + names[i];
    return names.size() > 8 ? text + " and " + std::to_string(names.size() - 8) + " more" : text;
  };
  if (!markup.empty())
    Warning(line, "the list holds " + list(markup) + ", which no glyph can stand for: | ends a text, \\ breaks its line, a "
                  "space is a gap and / cannot be part of a file name (leave them out of the list)");
  if (!unused.empty())
    Warning(line, "the glyphs of " + list(unused) + " are missing or do not decode, so those characters would vanish from "
                  "a text (draw them as PNG in " + Shown(settings.FONTPATH + "\\") + ", or leave them out of the list)");

  // Every character the game draws needs a glyph; the loaded table says which have one.
  std::vector<uint8_t> absent;
  for (const auto& [code, text] : drawn)
    if (glyphTable[code].sprite3D == 0 && missing.count(code) == 0) absent.push_back(code);
  if (absent.size() == 1) {
    const uint8_t code = absent.front();
    Error(line, "the font has no " + CharacterName(code) + ", which the game draws (as in " + Quote(drawn[code]) +
                    "): add it to the list and draw its glyph " + Shown(settings.FONTPATH + "\\" + GlyphFileName(code).baseName + ".png"));
  } else if (!absent.empty()) {
    std::vector<std::string> names;
    for (const uint8_t code : absent) names.push_back(CharacterName(code));
    Error(line, "the font has none of " + list(names) + ", which the game draws: add them to the list and draw their glyphs (such as " +
                    Shown(settings.FONTPATH + "\\" + GlyphFileName(absent.front()).baseName + ".png") + ")");
  }
}

// ---- Object definitions -----------------------------------------------------------------------

void Checker::CheckObjects() {
  LoadObjectDefinitions();
  if (!DirectoryUsable("WORLDGFX")) return;
  std::vector<std::string> keys;
  std::map<std::string, DefinitionValue> kinds;
  for (const DefinitionKey& k : ObjectDefinitionKeys()) {
    keys.push_back(k.key);
    kinds[k.key] = k.value;
  }
  std::map<std::string, std::string> names;  // DGFXNAME -> the definition that has it
  for (const ObjectDefinition& d : objectDefinitions) {
    Read(d.imagePath);
    if (d.sprite == 0)
      Error({d.imagePath, 0}, "the object image does not decode, so its objects and foes draw nothing (" + kImageFormats + ")");
    const std::string definition = DefinitionPath(d.imagePath, settings.GFXCODEC);
    if (FindText(d.imagePath, settings.GFXCODEC) == 0) {
      Error({d.imagePath, 0}, "the name does not contain GFXCODEC " + Quote(settings.GFXCODEC) +
                                  " letter for letter, so the game finds no definition file and the object has every value 0 "
                                  "(rename it to end in " + settings.GFXCODEC + ")");
      continue;
    }
    const Lookup lookup = FindFile(definition);
    if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) {
      Error({d.imagePath, 0}, "there is no definition file " + Shown(definition) +
                                  " beside the image: the object has every value 0, is never drawn, and its empty DGFXNAME answers "
                                  "every tile's empty child slot (write the definition, or move the image away)");
      continue;
    }
    NeedFile({d.imagePath, 0}, "the definition file", definition, "");
    std::vector<Pair> pairs;
    ReadPairs(definition, pairs);
    std::vector<const Pair*> unknown;
    const bool inStep = CheckKeys(definition, pairs, keys, &unknown);
    ReportUnknownKeys(definition, unknown, keys);
    if (!inStep) continue;

    const auto last = LastPairs(pairs);
    auto at = [&](const char* key) -> Place {
      const auto found = last.find(key);
      return {definition, found == last.end() ? 0 : found->second->valueLine};
    };
    for (const auto& [key, pair] : last) {
      const auto kind = kinds.find(key);
      if (kind == kinds.end()) continue;
      const DefinitionValue v = kind->second;
      if (!pair->hasValue) continue;
      if (v != DefinitionValue::kNumber && v != DefinitionValue::kFlag && v != DefinitionValue::kByte) continue;
      const std::string& value = pair->value;
      if (!IsWholeNumber(value)) {
        Problem(!HasDigits(value), definition, pair->valueLine,
                key + " " + Quote(value) + " is not a whole number: the game reads " +
                    (v == DefinitionValue::kNumber ? NumberText(TextToInteger(value)) : FlagText(value)) + " (write a whole number)");
      } else if (v == DefinitionValue::kFlag && TextToInteger(value) != 0 && TextToInteger(value) != 1) {
        Warning({definition, pair->valueLine}, key + " " + Quote(value) + " is a flag: the game keeps the low 8 bits and reads " +
                                                   FlagText(value) + " (write 0 or 1)");
      } else if (v == DefinitionValue::kByte && (TextToInteger(value) < 0 || TextToInteger(value) > 127)) {
        Warning({definition, pair->valueLine},
                key + " " + Quote(value) + " is kept in 8 bits: the game reads " + FlagText(value) + " (write 0 to 127)");
      }
    }
    if (d.DGFXTRANSPARENCY < 0 || d.DGFXTRANSPARENCY > 255)
      Warning(at("DGFXTRANSPARENCY"), "DGFXTRANSPARENCY " + NumberText(d.DGFXTRANSPARENCY) +
                                          " is an opacity outside 0..255 (write 0 for invisible up to 255 for opaque)");
    else if (d.DGFXTRANSPARENCY == 0 && d.DGFXSHOW == 1)
      Warning(at("DGFXTRANSPARENCY"), "DGFXTRANSPARENCY 0 draws objects and foes of this kind fully transparent (write 255 for opaque)");
    // Tiles place objects by name; foes are drawn whatever DGFXSHOW says.
    const bool placed = !d.DGFXNAME.empty() && d.DGFXNAME != "NOPE";
    if (placed && d.DGFXSHOW != 1)
      Warning(at("DGFXSHOW"), "DGFXSHOW is not 1, so the objects tiles place of this kind are never drawn (write 1)");
    if (d.DISENEMY != 0 && d.DVELOX == 0 && d.DVELOY == 0)
      Warning(at("DISENEMY"), "a foe with DVELOX and DVELOY 0 never moves (give it sub-steps per cell, such as 6)");
    if (d.DDENSITY < 0)
      Warning(at("DDENSITY"), "a negative DDENSITY never spawns anything (write 0 to spawn on every match, n for 1 in n + 1)");
    if (!d.DHOTSPOT.empty() &&
        std::none_of(std::begin(kHotspots), std::end(kHotspots), [&d](const Hotspot& h) { return d.DHOTSPOT == h.name; })) {
      std::vector<std::string> hotspots;
      for (const Hotspot& h : kHotspots) hotspots.push_back(h.name);
      const std::string near = Nearest(d.DHOTSPOT, hotspots);
      Warning(at("DHOTSPOT"), "DHOTSPOT " + Quote(d.DHOTSPOT) + " moves nothing (" +
                                  (near.empty() ? "write CENTER, RIGHT, BOTTOMLEFT, BOTTOMRIGHT or nothing" : "did you mean " + near + "?") + ")");
    }
    if (d.DXMODE1 > 0 || d.DXMODE2 > 0) {
      const BlendPair used = NormalBlendPair(d.DXMODE1, d.DXMODE2);
      if (used.source != d.DXMODE1)
        Warning(at("DXMODE1"), "DXMODE1 " + NumberText(d.DXMODE1) + " is no blend factor, so the game uses " + NumberText(used.source) + " (write 1 to 11)");
      if (used.destination != d.DXMODE2)
        Warning(at("DXMODE2"), "DXMODE2 " + NumberText(d.DXMODE2) + " is no blend factor, so the game uses " +
                                   NumberText(used.destination) + " (write 1 to 11)");
    }
    if (d.DUSECOUNTSOUND != 0) {
      if (d.DCOUNTSOUND.empty())
        Warning(at("DUSECOUNTSOUND"), "DUSECOUNTSOUND asks for a sound but DCOUNTSOUND names none (name a sound, or write 0)");
      else
        CheckSoundName(at("DCOUNTSOUND"), "DCOUNTSOUND", d.DCOUNTSOUND);
    }
    if (placed) {
      const auto [first, fresh] = names.emplace(d.DGFXNAME, d.imageName);
      if (!fresh)
        Warning(at("DGFXNAME"), "DGFXNAME " + d.DGFXNAME + " is also the name of " + first->second +
                                    ", so a child slot of that name spawns both (give each its own name)");
    }
  }
}

// ---- Tiles ------------------------------------------------------------------------------------

void Checker::CheckImageName(const Place& at, const std::string& key, const std::string& name) {
  if (!DirectoryUsable("TOPOGFX")) return;
  std::vector<std::string> names;
  for (const TopographyImage& image : topographyImages) {
    if (image.fileName == name) return;
    names.push_back(image.fileName);
  }
  const std::string effect = ", so cells of this tile keep the graphic of the tile they had before";
  const std::string near = Nearest(name, names);
  const Lookup lookup = FindFile(settings.TOPOGFX + name);
  std::string text = key + " " + Quote(name) + ": ";
  if (!near.empty() && Distance(near, name) == 0)
    text += "the tile graphic is " + near + ", and names must match letter case and all" + effect + " (write " + near + ")";
  else if (lookup.found == Found::kExactly || lookup.found == Found::kOtherCase)
    text += Shown(lookup.actual) + " is not among the tile graphics, which are the files ending in GFXCODEC " +
            Quote(settings.GFXCODEC) + effect + " (save it as such a file)";
  else
    text += "there is no tile graphic " + Shown(settings.TOPOGFX + name) + effect +
            (near.empty() ? std::string(" (put the image there, or name one that is)") : " (did you mean " + near + "?)");
  Error(at, text);
}

void Checker::CheckChildName(const Place& at, const std::string& key, const std::string& name) {
  if (!DirectoryUsable("WORLDGFX")) return;
  if (name == "NOPE") {
    Warning(at, key + " NOPE is the name the game gives definitions without a name, and it never spawns (write #)");
    return;
  }
  std::vector<std::string> names;
  std::vector<std::string> unnamed;  // images without a definition answer an empty name
  for (const ObjectDefinition& d : objectDefinitions) {
    if (d.DGFXNAME == "NOPE") continue;
    if (d.DGFXNAME == name) {
      if (name.empty()) unnamed.push_back(d.imageName);
      else return;
    }
    if (!d.DGFXNAME.empty()) names.push_back(d.DGFXNAME);
  }
  if (name.empty()) {
    const std::string is = key.find(',') == std::string::npos ? " is empty" : " are empty";
    if (unnamed.empty())
      Warning(at, key + is + " and spawns nothing (write # for an empty slot)");
    else
      Warning(at, key + is + ", so " + unnamed.front() + ", an image without a definition file, spawns there (write # for an empty slot)");
    return;
  }
  const std::string near = Nearest(name, names);
  Error(at, key + " " + Quote(name) + " matches no object definition's DGFXNAME, so nothing spawns in the slot (" +
                (near.empty() ? std::string("name an object of ") + Shown(settings.WORLDGFX) + ", or write #" : "did you mean " + near + "?") +
                ")");
}

void Checker::CheckTileFile(const std::string& name, const std::string& path) {
  std::vector<Pair> pairs;
  if (!ReadPairs(path, pairs)) return;
  Read(FindFile(path).actual);
  const std::vector<std::string> keys = TileFileKeys();
  std::vector<const Pair*> unknown;
  const bool inStep = CheckKeys(path, pairs, keys, &unknown);
  ReportUnknownKeys(path, unknown, keys);
  if (!inStep) return;

  // The tile as the game reads it into a fresh cell.
  tileMap.Create(1, 1);
  LoadTileDefinition(0, 0, path);
  const TileCell cell = *tileMap.Find(0, 0);
  const auto last = LastPairs(pairs);
  auto at = [&](const std::string& key) -> Place {
    const auto found = last.find(key);
    return {path, found == last.end() ? 0 : found->second->valueLine};
  };

  // Fields the file does not name keep what the cell held before the tile changed.
  std::vector<std::string> absent;
  int highest = 0;
  for (int slot = 1; slot <= 8; slot++) {
    const auto found = last.find("CHILD" + std::to_string(slot));
    if (found != last.end() && found->second->value != "#") highest = slot;
  }
  for (const char* key : {"GFXNAME", "TRANSPARENCY", "USECOLLISION", "USEENEMY", "VALUE1"})
    if (last.count(key) == 0) absent.push_back(key);
  for (int slot = 1; slot <= std::max(1, highest); slot++)
    if (last.count("CHILD" + std::to_string(slot)) == 0) absent.push_back("CHILD" + std::to_string(slot));
  if (!absent.empty()) {
    std::string list;
    for (const std::string& key : absent) list += (list.empty() ? "" : ", ") + key;
    Warning({path, 0}, "the tile names no " + list + ": a cell that changes to " + name +
                           " keeps those of the tile it had before, and a fresh cell has 0" +
                           (last.count("TRANSPARENCY") == 0 ? " (opacity 0: never drawn)" : "") + " (name them all)");
  }

  for (const std::string key : {"VALUE1", "RANDOMSEED", "USECOLLISION", "TRANSPARENCY", "USEENEMY"}) {
    const auto found = last.find(key);
    if (found == last.end() || !found->second->hasValue || IsWholeNumber(found->second->value)) continue;
    const std::string& value = found->second->value;
    Problem(!HasDigits(value), path, found->second->valueLine,
            key + " " + Quote(value) + " is not a whole number: the game reads " + NumberText(TextToInteger(value)) + " (write a whole number)");
  }
  if (last.count("TRANSPARENCY") != 0) {
    if (cell.transparency < 0 || cell.transparency > 255)
      Error(at("TRANSPARENCY"), "TRANSPARENCY " + NumberText(cell.transparency) + " is outside 0..255 (write 0 for opaque up to 255 for invisible)");
    else if (cell.transparency == 255)
      Warning(at("TRANSPARENCY"), "TRANSPARENCY 255 makes the tile invisible, and its cells are never drawn nor stepped (write 0 for opaque)");
  }
  if (last.count("USECOLLISION") != 0 && (cell.useCollision < 0 || cell.useCollision > 2))
    Warning(at("USECOLLISION"), "USECOLLISION " + NumberText(cell.useCollision) + " is none of 0 (open), 1 (blocks walking) and 2 (also stops blasts) (write one of them)");
  if (last.count("USEENEMY") != 0 && cell.useEnemy != 0 && cell.useEnemy != 1)
    Warning(at("USEENEMY"), "USEENEMY " + NumberText(cell.useEnemy) + " lets no foe start here; only 1 does (write 0 or 1)");
  if (last.count("USEDIRECTION") != 0) {
    const std::string& direction = last.at("USEDIRECTION")->value;
    const std::vector<std::string> directions = {"DEFAULT", "UP", "DOWN", "LEFT", "RIGHT"};
    if (std::find(directions.begin(), directions.end(), direction) == directions.end())
      Warning(at("USEDIRECTION"), "USEDIRECTION " + Quote(direction) + " is none of DEFAULT, UP, DOWN, LEFT and RIGHT, so the game ignores it (write one of them)");
  }

  // The graphic: an empty name stands for dummy.png.
  CheckImageName(last.count("GFXNAME") != 0 ? at("GFXNAME") : Place{path, 0},
                 last.count("GFXNAME") != 0 && !last.at("GFXNAME")->value.empty() ? "GFXNAME" : "GFXNAME (empty, so dummy.png)",
                 cell.gfxName);

  // Children: only slots up to the last one named are scanned. Empty slots are named together.
  std::string empty;
  Place firstEmpty;
  for (int slot = 1; slot <= 8; slot++) {
    const std::string key = "CHILD" + std::to_string(slot);
    const auto found = last.find(key);
    if (found == last.end() || found->second->value == "#") continue;
    if (found->second->value.empty() && slot - 1 <= cell.maxChildSlot) {
      if (empty.empty()) firstEmpty = at(key);
      empty += (empty.empty() ? "" : ", ") + key;
      continue;
    }
    if (slot - 1 > cell.maxChildSlot) {
      Warning(at(key), key + " never spawns: the game scans the slots up to the last CHILD key in the file with a name, CHILD" +
                           std::to_string(cell.maxChildSlot + 1) + " (list the CHILD keys in order)");
      continue;
    }
    CheckChildName(at(key), key, found->second->value);
  }
  if (!empty.empty()) CheckChildName(firstEmpty, empty, "");
}

// The tile file a name stands for, when there is one: checked, and remembered in `checked`.
// False when there is none, for the caller to say what that costs.
bool Checker::CheckNamedTile(const std::string& directory, const std::string& name, std::set<std::string>& checked) {
  const Lookup lookup = FindFile(directory + name);
  if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) return false;
  if (lookup.found == Found::kOtherCase)
    Warning({lookup.actual, 0}, "the tile " + name + " is found only by ignoring letter case (name the file " + name + ")");
  checked.insert(Shown(lookup.actual));
  CheckTileFile(name, directory + name);
  return true;
}

// The tile files nothing names are checked too: they are there to be used.
void Checker::CheckOtherTiles(const std::string& directory, const std::set<std::string>& checked) {
  for (const std::string& name : ListFiles(directory, "*"))
    if (checked.count(Shown(directory + name)) == 0) CheckTileFile(name, directory + name);
}

void Checker::CheckLabyrinth() {
  // The base file: its second and third lines are the base width and height.
  const Place at = SettingPlace("SELFCREATEBASE");
  if (settings.SELFCREATEBASE.empty()) {
    SettingProblem(true, "SELFCREATEBASE", "the game stops after the title screen with \"" + ErrorText(kErrorLabyrinthBase, "") + "\"",
                   "name the labyrinth's base file, such as DATA\\LABYRINTH.txt");
  } else if (NeedFile(at, "the labyrinth's base file", settings.SELFCREATEBASE,
                      "the game stops after the title screen with \"" + ErrorText(kErrorLabyrinthBase, settings.SELFCREATEBASE) + "\"")) {
    const int32_t file = OpenTextFile(-1, settings.SELFCREATEBASE);
    std::string lines[5];
    for (std::string& line : lines) line = ReadLine(file);
    CloseTextFile(file);
    for (int i = 1; i <= 2; i++) {
      const Place line{settings.SELFCREATEBASE, i + 1};
      const char* side = i == 1 ? "base width" : "base height";
      const int32_t value = TextToInteger(lines[i]);
      if (!IsWholeNumber(lines[i]))
        Problem(!HasDigits(lines[i]), line.file, line.line,
                std::string("the ") + side + " " + Quote(lines[i]) + " is not a whole number: the game reads " + NumberText(value) +
                    " (line 2 is the width, line 3 the height)");
      else if (value < 2)
        Warning(line, std::string("a ") + side + " of " + NumberText(value) + " grows a first level of no cells (write 8 or more)");
      else if (value / 2 * 2 > kMaxLabyrinthSide)
        Warning(line, std::string("a ") + side + " of " + NumberText(value) + " can grow levels larger than " +
                          NumberText(kMaxLabyrinthSide) + " cells, which are cut (write " + NumberText(kMaxLabyrinthSide) + " or less)");
    }
  }

  // The player.
  if (settings.CURSOR.empty() || Native(settings.CURSOR) == Native(baseDirectory)) {
    SettingProblem(true, "CURSOR", "the player is invisible", "name the player's image, such as DATA\\GFX\\PLAYER.png");
  } else if (NeedFile(SettingPlace("CURSOR"), "the player's image", settings.CURSOR, "the player is invisible") &&
             !ImageDecodes(settings.CURSOR)) {
    Error({settings.CURSOR, 0}, "the player's image does not decode, so the player is invisible (" + kImageFormats + ")");
  }

  // The tiles the game places.
  if (!DirectoryUsable("RGBCODEPATH")) return;
  const std::string directory = TileDirectory();
  std::set<std::string> checked;
  for (const std::string& name : LabTile::kAll)
    if (!CheckNamedTile(directory, name, checked))
      Error({directory + name, 0}, "there is no tile file for " + name +
                                       ", which the labyrinth game places, so its cells keep the tile they had before (write it)");
  CheckOtherTiles(directory, checked);
}

// ---- The world map ----------------------------------------------------------------------------

void Checker::CheckWorld() {
  const std::string base = settings.APPENTRY + settings.APPSTART;
  const std::string cells = base + ".ai42";
  const Place at = SettingPlace(settings.APPSTART.empty() ? "APPENTRY" : "APPSTART");
  if (!NeedFile(at, "the world map", cells, "the game stops after the title screen with \"" + ErrorText(kErrorWorldMap, "") + "\""))
    return;

  std::vector<std::string> lines;
  const int32_t file = OpenTextFile(-1, cells);
  while (!AtEndOfFile(file)) lines.push_back(ReadLine(file));
  CloseTextFile(file);
  while (lines.size() < 5) lines.push_back("");
  int32_t side[2] = {};
  for (int i = 0; i < 2; i++) {
    const std::string& text = lines[static_cast<size_t>(i) + 1];
    const char* what = i == 0 ? "width" : "height";
    side[i] = TextToInteger(text);
    if (!IsWholeNumber(text))
      Error({cells, i + 2}, std::string("the map's ") + what + " " + Quote(text) + " is not a whole number: the game reads " +
                                NumberText(side[i]) + " (line 2 is the last column's number, line 3 the last row's)");
    if (side[i] > kMaxWorldSide)
      Warning({cells, i + 2}, std::string("the map's ") + what + " " + NumberText(side[i]) + " does not fit the map: the game leaves out the cells beyond " +
                                  NumberText(kMaxWorldSide) + " (write " + NumberText(kMaxWorldSide) + " or less)");
    if (side[i] < 0) {
      Error({cells, i + 2}, std::string("the map's ") + what + " " + NumberText(side[i]) + " is negative (write the last column's or row's number)");
      side[i] = 0;
    }
  }
  const int64_t columns = static_cast<int64_t>(side[0]) + 1, rows = static_cast<int64_t>(side[1]) + 1;
  const int64_t wanted = columns * rows;
  const int64_t held = static_cast<int64_t>(lines.size() - 5) / 3;
  if ((lines.size() - 5) % 3 != 0)
    Warning({cells, static_cast<int32_t>(lines.size())}, "the last cell has fewer than its three lines (every cell is three lines)");
  if (held < wanted)
    Error({cells, 0}, "the header announces " + std::to_string(columns) + " x " + std::to_string(rows) + " = " +
                          std::to_string(wanted) + " cells, but the file holds " + NumberText(static_cast<int32_t>(held)) +
                          ", so the rest of the map stays empty (columns first: each column from row 0 down)");
  else if (held > wanted)
    Warning({cells, 0}, "the file holds " + NumberText(static_cast<int32_t>(held)) + " cells, more than the " +
                            std::to_string(wanted) + " its header announces, and the game ignores the rest (mend the header, or cut the cells after the last)");

  // Each tile name the map uses, with its first cell and how many cells use it.
  struct Use {
    int32_t line = 0, x = 0, y = 0, cells = 0;
  };
  std::map<std::string, Use> uses;
  // The game steps through the file with its own sizes and keeps the cells that fit the grid.
  auto inGrid = [&](int64_t i) { return i / rows <= kMaxWorldSide && i % rows <= kMaxWorldSide; };
  for (int64_t i = 0; i < std::min(held, wanted); i++) {
    if (!inGrid(i)) continue;
    const size_t first = 5 + static_cast<size_t>(i) * 3;
    const std::string name = lines[first] + lines[first + 1] + lines[first + 2];
    Use& use = uses[name];
    if (use.cells++ == 0)
      use = {static_cast<int32_t>(first + 1), static_cast<int32_t>(i / rows), static_cast<int32_t>(i % rows), 1};
  }
  if (DirectoryUsable("RGBCODEPATH")) {
    const std::string directory = TileDirectory();
    std::set<std::string> checked;
    for (const auto& [name, use] : uses) {
      auto staysEmpty = [&, &name = name, &use = use](const std::string& which) {
        Error({cells, use.line}, "cell (" + NumberText(use.x) + ", " + NumberText(use.y) + ") names the tile " + Quote(name) +
                                     ", which " + which + ", so it stays empty (" + NumberText(use.cells) +
                                     (use.cells == 1 ? " cell" : " cells") + " of the map)");
      };
      if (!IsTileName(name))
        staysEmpty("is a path, not the name of a file in " + Shown(directory));
      else if (!CheckNamedTile(directory, name, checked))
        staysEmpty("has no tile file " + Shown(directory + name));
    }
    CheckOtherTiles(directory, checked);
  }

  // The opacities: one line a cell after five header lines.
  const std::string values = base + ".red";
  const Lookup lookup = FindFile(values);
  if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) {
    Warning({values, 0}, "there is no value file, so every cell keeps the opacity of its tile (write one opacity line a cell)");
    return;
  }
  NeedFile(at, "the value file", values, "");
  std::vector<std::string> opacities;
  const int32_t red = OpenTextFile(-1, values);
  while (!AtEndOfFile(red)) opacities.push_back(ReadLine(red));
  CloseTextFile(red);
  const int64_t given = std::max<int64_t>(0, static_cast<int64_t>(opacities.size()) - 5);
  if (given < wanted)
    Error({values, 0}, "the file gives " + NumberText(static_cast<int32_t>(given)) + " opacities for the map's " +
                           std::to_string(wanted) + " cells, so the rest keep the opacity of their tiles (write one line a cell, in the map's order)");
  int32_t bad = 0;
  for (int64_t i = 0; i < std::min(given, wanted); i++) {
    if (!inGrid(i)) continue;
    const std::string& text = opacities[5 + static_cast<size_t>(i)];
    const int32_t value = TextToInteger(text);
    if (IsWholeNumber(text) && value >= 0 && value <= 255) continue;
    if (++bad > 5) continue;  // a broken file need not fill the screen
    Error({values, static_cast<int32_t>(6 + i)}, "the opacity " + Quote(text) + " of cell (" + NumberText(static_cast<int32_t>(i / rows)) +
                                                     ", " + NumberText(static_cast<int32_t>(i % rows)) +
                                                     ") is not a whole number from 0 to 255 (0 hides the cell, 255 is opaque)");
  }
  if (bad > 5) Error({values, 0}, "and " + NumberText(bad - 5) + " more opacities are not whole numbers from 0 to 255 (0 hides the cell, 255 is opaque)");
}

// ---- The whole base -----------------------------------------------------------------------------

DataCheck Checker::Run() {
  ResetAllState();
  SetErrorBoxEnabled(false);
  SetSoundRefusalsQuiet(true);  // each sound that does not decode is one line of ours
  baseDirectory = CurrentDirectory();
  if (CheckConfiguration()) {
    CheckDirectories();
    // Much as start-up loads them: the lists, the screens' pictures, the font; then the mode's
    // own data, and last the settings whose effect depends on all that.
    CheckTopography();
    CheckSounds();  // before the objects, whose DCOUNTSOUND names a sound
    CheckObjects();
    CheckMusic();
    CheckFloatingImages("EGFXPATH");
    CheckFloatingImages("SCREGFXPATH");
    CheckPictures();
    CheckFont();
    if (result_.labyrinthMode)
      CheckLabyrinth();
    else
      CheckWorld();
    CheckSettingValues();
    CheckSettingFormats();
    ReportUnknownKeys(ini_, unknownSettings_, SettingKeys());
  }
  std::stable_sort(result_.problems.begin(), result_.problems.end(), [](const DataProblem& a, const DataProblem& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  result_.filesRead = static_cast<int32_t>(read_.size());
  tileMap.Create(0, 0);
  return result_;
}

}  // namespace

DataCheck CheckBaseDirectory() { return Checker().Run(); }

std::string FormatProblem(const DataProblem& problem, const std::string& prefix) {
  std::string line = prefix + problem.file;
  if (problem.line > 0) line += ":" + std::to_string(problem.line);
  return line + (problem.error ? ": error: " : ": warning: ") + problem.text;
}

bool WantsDataCheck(int argc, char** argv) {
  for (int i = 1; i < argc; i++)
    if (std::string(argv[i]) == "--check") return true;
  return false;
}

int RunDataCheck(int argc, char** argv) {
  std::string directory;
  bool given = false, world = false;
  for (int i = 1; i < argc; i++) {
    const std::string option = argv[i];
    if (option == "--check") continue;
    if (option == "--world") {
      world = true;
      continue;
    }
    if (option == "--data" && i + 1 < argc && !given) {
      directory = argv[++i];
      given = true;
      continue;
    }
    std::fprintf(stderr, "quorvex: --check takes only --data DIR or --world (the base directory to check), not %s\n", option.c_str());
    return 2;
  }
  if (!given) {
    // The data the game itself would play: the current directory, else the installed base.
    const std::string start = CurrentDirectory();
    std::string notFound;
    if (!EnterInstalledData(world, notFound)) {
      std::printf("%s\nquorvex --check: no data to check\n", notFound.c_str());
      return 1;
    }
    if (CurrentDirectory() != start) {
      directory = CurrentDirectory();
      given = true;
    }
  }
  const std::string shownDirectory = given ? directory : ".";
  if (given && ::chdir(directory.c_str()) != 0) {
    std::printf("%s: error: there is no such directory (give the base directory, the one that holds DATA/)\n",
                directory.c_str());
    std::printf("quorvex --check: 1 error in %s\n", directory.c_str());
    return 1;
  }
  const std::string prefix = given ? (directory.back() == '/' ? directory : directory + "/") : "";
  const DataCheck check = CheckBaseDirectory();
  size_t errors = 0;
  for (const DataProblem& problem : check.problems) {
    std::printf("%s\n", FormatProblem(problem, prefix).c_str());
    errors += problem.error ? 1 : 0;
  }
  const size_t warnings = check.problems.size() - errors;
  const std::string what = !check.configured ? "no configuration" : check.labyrinthMode ? "labyrinth mode" : "world mode";
  std::string found = check.problems.empty() ? "no problems" : "";
  if (errors > 0) found = Count(errors, "error");
  if (warnings > 0) found += (found.empty() ? "" : " and ") + Count(warnings, "warning");
  std::printf("quorvex --check: %s in %s (%s, %s read)\n", found.c_str(), shownDirectory.c_str(), what.c_str(),
              Count(static_cast<size_t>(check.filesRead), "file").c_str());
  std::fflush(stdout);
  return check.problems.empty() ? 0 : 1;
}
