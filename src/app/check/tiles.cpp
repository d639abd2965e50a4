// Tiles and the labyrinth: every tile file as the tile reader reports it, read into a fresh
// cell as placing the tile would; the names in it; the base file and the player's image.
#include <algorithm>

#include "app/check/checker.h"
#include "app/check/texts.h"
#include "core/error_report.h"
#include "core/settings.h"
#include "data/object_definitions.h"
#include "game/level.h"
#include "game/level_survey.h"
#include "media/files.h"
#include "media/text.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

namespace check {

void DataChecker::CheckChildName(const Place& at, const std::string& key, const std::string& name) {
  if (!DirectoryUsable("WORLDGFX")) return;
  if (name == "NOPE") {
    Warning(at, key + " NOPE is the name the game gives definitions without a name, and it never spawns (write #)");
    return;
  }
  std::vector<std::string> names;
  std::vector<std::string> unnamed;  // images without a definition answer an empty name
  for (const ObjectDefinition& d : objectDefinitions) {
    if (SpawnsAsChild(d, name)) {
      if (name.empty()) unnamed.push_back(d.imageName);
      else return;
    }
    if (!d.DGFXNAME.empty() && d.DGFXNAME != "NOPE") names.push_back(d.DGFXNAME);
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

void DataChecker::CheckTileFile(const std::string& name, const std::string& path) {
  // The tile as the game reads it into a fresh cell, pair by pair.
  PairList pairs;
  TileCell cell;
  if (!ReadTileFile(path, cell, &pairs)) return;
  Read(FindFile(path).actual);
  if (!CheckPairs(path, pairs.pairs, TileFileKeys())) return;
  const auto last = LastPairs(pairs.pairs);
  auto at = [&](const std::string& key) { return LastPlace(path, last, key); };

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

  CheckTileNumbers(path, cell, last);

  // The graphic: an empty name stands for dummy.png.
  CheckImageName(last.count("GFXNAME") != 0 ? at("GFXNAME") : Place{path, 0},
                 last.count("GFXNAME") != 0 && !last.at("GFXNAME")->value.empty() ? "GFXNAME" : "GFXNAME (empty, so dummy.png)",
                 cell.gfxName);
  CheckTileChildren(path, cell, last);
}

// Numbers written otherwise than the game reads them, and values it reads that do nothing.
void DataChecker::CheckTileNumbers(const std::string& path, const TileCell& cell, const std::map<std::string, const Pair*>& last) {
  auto at = [&](const std::string& key) { return LastPlace(path, last, key); };
  for (const auto& [key, pair] : last) {
    const ValueKind* kind = TileFileKeys().Find(key);
    if (!kind || (*kind != ValueKind::kInteger && *kind != ValueKind::kFlag && *kind != ValueKind::kByte)) continue;
    if (!pair->hasValue || IsWholeNumber(pair->value)) continue;
    const std::string& value = pair->value;
    Problem(!HasDigits(value), path, pair->valueLine,
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
}

// Only slots up to the last one named are scanned. Empty slots are named together.
void DataChecker::CheckTileChildren(const std::string& path, const TileCell& cell, const std::map<std::string, const Pair*>& last) {
  auto at = [&](const std::string& key) { return LastPlace(path, last, key); };
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
bool DataChecker::CheckNamedTile(const std::string& directory, const std::string& name, std::set<std::string>& checked) {
  const Lookup lookup = FindFile(directory + name);
  if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) return false;
  if (lookup.found == Found::kOtherCase && !InOtherCaseDirectory(directory + name, lookup.actual))
    Warning({lookup.actual, 0}, "the tile " + name + " is found only by ignoring letter case (name the file " + name + ")");
  checked.insert(Shown(lookup.actual));
  CheckTileFile(name, directory + name);
  return true;
}

// The tile files nothing names are checked too: they are there to be used.
void DataChecker::CheckOtherTiles(const std::string& directory, const std::set<std::string>& checked) {
  for (const std::string& name : ListFiles(directory, "*"))
    if (checked.count(Shown(FindFile(directory + name).actual)) == 0) CheckTileFile(name, directory + name);
}

// The base file: its second and third lines are the base width and height.
void DataChecker::CheckBaseFile() {
  const Place at = SettingPlace("SELFCREATEBASE");
  if (settings.SELFCREATEBASE.empty()) {
    SettingProblem(true, "SELFCREATEBASE", "the game stops after the title screen with \"" + ErrorText(kErrorLabyrinthBase, "") + "\"",
                   "name the labyrinth's base file, such as DATA\\LABYRINTH.txt");
  } else if (NeedFile(at, "the labyrinth's base file", settings.SELFCREATEBASE,
                      "the game stops after the title screen with \"" + ErrorText(kErrorLabyrinthBase, settings.SELFCREATEBASE) + "\"")) {
    // The base file as the game reads it, line by line.
    struct Lines final : BaseFileWatcher {
      void Line(int32_t number, const std::string& text, BaseLine use) override {
        if (use != BaseLine::kSkipped) sides.push_back({number, text, use});
      }
      struct Side {
        int32_t number;
        std::string text;
        BaseLine use;
      };
      std::vector<Side> sides;
    } lines;
    const bool read = ReadLabyrinthBase(settings.SELFCREATEBASE, &lines);
    const size_t problemsBefore = result_.problems.size();
    for (const auto& [number, text, use] : lines.sides) {
      const Place line{settings.SELFCREATEBASE, number};
      const char* side = use == BaseLine::kWidth ? "base width" : "base height";
      const int32_t value = TextToInteger(text);
      if (!IsWholeNumber(text))
        Problem(!HasDigits(text), line.file, line.line,
                std::string("the ") + side + " " + Quote(text) + " is not a whole number: the game reads " + NumberText(value) +
                    " (line 2 is the width, line 3 the height)");
      else if (value < 2)
        Warning(line, std::string("a ") + side + " of " + NumberText(value) + " grows a first level of no cells (write 8 or more)");
      else if (value / 2 * 2 > kMaxLabyrinthSide)
        Warning(line, std::string("a ") + side + " of " + NumberText(value) + " can grow levels larger than " +
                          NumberText(kMaxLabyrinthSide) + " cells, which are cut (write " + NumberText(kMaxLabyrinthSide) + " or less)");
    }
    baseSound_ = read && result_.problems.size() == problemsBefore;
  }
}

void DataChecker::CheckFirstLevel() {
  // A level grown from data with mistakes in it says little; those are the report.
  if (!baseSound_ || std::any_of(result_.problems.begin(), result_.problems.end(), [](const DataProblem& p) { return p.error; }))
    return;
  const LevelFigures figures = BuildAndMeasureLevel(1);
  for (const std::string& warning : LevelWarnings(figures)) {
    if (IsSet("WORLDRANDOM"))
      Warning(SettingPlace("WORLDRANDOM"), "WORLDRANDOM " + Quote(Raw("WORLDRANDOM")) + " grows a level 1 with " + warning +
                                               " (try another seed or base size: quorvex-map levels shows what each level grows)");
    else
      Warning({settings.SELFCREATEBASE, 0}, "level 1 grows with " + warning +
                                                " (set WORLDRANDOM to another seed, or change the base size: quorvex-map levels shows "
                                                "what each level grows)");
  }
}

void DataChecker::CheckLabyrinth() {
  CheckBaseFile();

  // The player.
  if (settings.CURSOR.empty() || Native(settings.CURSOR) == Native(baseDirectory)) {
    SettingProblem(true, "CURSOR", "the player is invisible", "name the player's image, such as DATA\\GFX\\PLAYER.png");
  } else if (NeedFile(SettingPlace("CURSOR"), "the player's image", settings.CURSOR, "the player is invisible") &&
             !ImageDecodes(settings.CURSOR)) {
    const ImageRefusal refused = WhyRefused(settings.CURSOR, kImageFormats);
    Error({settings.CURSOR, 0}, "the player's image " + refused.is + ", so the player is invisible (" + refused.todo + ")");
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

}  // namespace check
