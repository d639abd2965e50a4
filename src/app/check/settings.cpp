// The configuration: the pairs of DATA/ini.txt as the settings reader reports them, the values
// it stores, and the directories the settings name.
#include <algorithm>
#include <cmath>

#include "app/check/checker.h"
#include "app/check/texts.h"
#include "core/error_report.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "app/main_loop.h"
#include "game/level.h"
#include "game/player.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/tile_map.h"

namespace check {

bool DataChecker::CheckConfiguration() {
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
  ReadSettingsFile(path, &iniPairs_);

  result_.configured = true;
  result_.labyrinthMode = settings.USESELFCREATEBASE == 1;
  // Past a pair read out of step every setting is shifted: that one mistake is the report.
  if (!CheckKeys(ini_, iniPairs_.pairs, SettingKeys(), &unknownSettings_)) return false;
  for (const Pair& pair : iniPairs_.pairs)
    if (pair.known) settingPairs_[pair.key] = &pair;
  return true;
}

const Pair* DataChecker::SettingPair(const std::string& key) const {
  const auto found = settingPairs_.find(key);
  return found == settingPairs_.end() ? nullptr : found->second;
}

Place DataChecker::SettingPlace(const std::string& key) const {
  const Pair* pair = SettingPair(key);
  return {ini_, pair ? pair->valueLine : 0};
}

namespace {

// " is not a number" for the value of a numeric key that does not read as one.
std::string NumberNote(const std::string& key, const std::string& value) {
  const ValueKind* kind = SettingKeys().Find(key);
  if (!kind) return "";
  const bool integer = *kind == ValueKind::kInteger || *kind == ValueKind::kFlag;
  if (!integer && *kind != ValueKind::kFloat) return "";
  if (!HasDigits(value)) return " is not a number";
  if (integer ? !IsWholeNumber(value) : !IsDecimalNumber(value)) return " is not a plain number";
  return "";
}

}  // namespace

void DataChecker::SettingProblem(bool error, const std::string& key, const std::string& what, const std::string& todo) {
  // One problem a setting: the first found is the one to mend first.
  if (!reportedSettings_.insert(key).second) return;
  if (const Pair* found = SettingPair(key)) {
    const Pair& pair = *found;
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

void DataChecker::CheckDrawingSettings() {
  if (gameState.drawWorld != 1) {
    // The later of the two keys decides.
    const Pair* window = SettingPair("WINDOWMODE");
    const Pair* sprite = SettingPair("USESPRITE3D");
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
  else if (!IsSet("RESBASEW"))
    SettingProblem(false, "RESBASEW", "the glyphs are drawn at the screen width times their size",
                   "set it to the screen width the glyphs are drawn for, such as 1280");

  const float zoom = settings.FULLSCREENZOOM;
  if (!(zoom > 0.0f) || !std::isfinite(zoom))
    SettingProblem(true, "FULLSCREENZOOM", "the zoom pass grabs nothing, so the play field stays black",
                   "write a fraction of the screen above 0 and up to 1.0, such as 1.0");
  else if (zoom > 1.0f)
    SettingProblem(false, "FULLSCREENZOOM", "more than the whole screen cannot be grabbed; it acts as 1.0", "write 1.0 or less");
}

void DataChecker::CheckPlayerSettings() {
  const bool labyrinth = result_.labyrinthMode;
  if (!IsSet("CURSORSPEED")) {
    SettingProblem(false, "CURSORSPEED", "the player moves a cell every frame while a key is held",
                   "set it from 0 (slowest) to 255 (fastest), such as 249 for a cell every 7 frames");
  } else {
    const int32_t speed = TextToInteger(Raw("CURSORSPEED"));
    if (speed < 0 || speed > 255)
      SettingProblem(false, "CURSORSPEED", "the game holds it to 0..255 and uses " + NumberText(255 - settings.CURSORSPEED),
                     "write a value from 0 to 255");
  }

  if (IsSet("MAPSIZE")) {
    const int32_t size = TextToInteger(Raw("MAPSIZE"));
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
}

void DataChecker::CheckLimitSettings() {
  for (const char* key : {"EGFXMAX", "SCREGFXMAX"}) {
    const int32_t copies = key[0] == 'E' ? settings.EGFXMAX : settings.SCREGFXMAX;
    if (copies >= kMostFloatingCopies)
      SettingProblem(false, key, "the game loads only " + NumberText(kMostFloatingCopies) + " copies of each image",
                     "write " + NumberText(kMostFloatingCopies - 1) + " or less");
  }
  if (settings.MULTITASK > kLongestFrameSleep)
    SettingProblem(false, "MULTITASK", "the game sleeps at most " + NumberText(kLongestFrameSleep) + " ms a frame",
                   "write the milliseconds to sleep after every frame, usually 0");
}

void DataChecker::CheckClockSettings() {
  const bool labyrinth = result_.labyrinthMode;
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

  if (IsSet("GAMEMODE") && settings.GAMEMODE != kHardcoreMode && settings.GAMEMODE != "DEFAULT")
    SettingProblem(false, "GAMEMODE", std::string("only ") + kHardcoreMode + " changes the game; this plays the normal game",
                   std::string("write ") + kHardcoreMode + " or DEFAULT");
}

void DataChecker::CheckImageSettings() {
  const bool labyrinth = result_.labyrinthMode;
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
void DataChecker::CheckSettingFormats() {
  for (const auto& [key, pair] : settingPairs_) {
    if (reportedSettings_.count(key) != 0 || !pair->hasValue) continue;
    const ValueKind kind = *SettingKeys().Find(key);
    const Place at{ini_, pair->valueLine};
    const std::string value = pair->value;
    if (kind == ValueKind::kInteger || kind == ValueKind::kFlag) {
      const std::string reads = kind == ValueKind::kFlag ? FlagText(value) : NumberText(TextToInteger(value));
      if (!HasDigits(value))
        Error(at, key + " " + Quote(value) + " is not a number: the game reads " + reads + " (write a whole number)");
      else if (!IsWholeNumber(value))
        Warning(at, key + " " + Quote(value) + " is not a whole number: the game reads " + reads + " (write a whole number)");
      else if (kind == ValueKind::kFlag && TextToInteger(value) != 0 && TextToInteger(value) != 1)
        Warning(at, key + " " + Quote(value) + " is a flag: the game keeps the low 8 bits and reads " + reads + " (write 0 or 1)");
    } else if (key == "SCREENSIZE") {
      int32_t width = 0, height = 0;
      if (!value.empty() && !ParseScreenSize(value, width, height))
        Error(at, key + " " + Quote(value) + " is not a screen size: the game draws for the desktop's size instead "
                        "(write WIDTHxHEIGHT, such as 1280x720, each side 16 to 8192)");
    } else if (kind == ValueKind::kFloat) {
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

void DataChecker::CheckDirectories() {
  for (const DirectorySetting& d : kDirectorySettings) {
    if (d.worldOnly && result_.labyrinthMode) continue;
    const std::string key = d.key;
    const Pair* pair = SettingPair(key);
    const std::string value = pair ? pair->value : "";
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
    if (*SettingKeys().Find(key) == ValueKind::kPath) directory = baseDirectory + value;
    if (key == "APPENTRY") continue;  // a prefix of the map's path; the map itself is checked
    const Lookup lookup = FindDirectory(directory);
    if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) {
      if (key == "RGBCODEPATH" && FindDirectory(value).found == Found::kExactly)
        SettingProblem(true, "APPSTART", "there is no tile directory " + Shown(directory) + " (RGBCODEPATH followed by APPSTART)",
                       "make the directory, or name the tile set it holds");
      else
        SettingProblem(true, key, "there is no directory " + Shown(directory), "make it, or name the directory that holds the files");
      continue;
    }
    if (lookup.found == Found::kOtherCase) {
      SettingProblem(false, key, "the directory is found only as " + Shown(lookup.actual), "write it with the letter case it has on disk");
      auto asDirectory = [this](const std::string& path) {
        const std::string shown = Shown(path);
        return shown.empty() || shown.back() == '/' ? shown : shown + "/";
      };
      otherCaseDirectories_.emplace_back(asDirectory(directory), asDirectory(lookup.actual));
    }
    usable_.insert(key);
  }
}

}  // namespace check
