// The data checker's own parts (app/data_check.h is its face). One DataChecker runs over one base
// directory; each file of app/check/ holds the checks of one kind of data, and every check asks
// the game's own readers and look-ups what they make of the data, then says where that differs
// from what the data seems to mean.
//
// A new finding is a few lines in the file of its kind: look at what the reader reports (the
// pairs of a line-pair file with their lines, the cells of a map file, the loaded lists) and
// call Error or Warning with the place to mend.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/data_check.h"
#include "core/line_pairs.h"

struct ObjectDefinition;
struct TileCell;

namespace check {

struct WorldShape;

// Where a sound, tile, child or glyph name was written, for problems about it.
struct Place {
  std::string file;
  int32_t line = 0;  // 0: the file as a whole
};

// A pair of a line-pair file as the reader reported it.
struct Pair : LinePair {
  bool known = false;  // the reader knew its key and stored the value
};

// Collects what a reader reports of the pairs it reads.
class PairList final : public LinePairWatcher {
 public:
  void Pair(const LinePair& pair, bool stored) override { pairs.push_back({pair, stored}); }
  std::vector<check::Pair> pairs;
};

// The last pair of each key in a file: the one whose value the reader kept.
std::map<std::string, const Pair*> LastPairs(const std::vector<Pair>& pairs);
// The value line of a key's last pair in a file (0 when the file has none).
Place LastPlace(const std::string& path, const std::map<std::string, const Pair*>& last, const std::string& key);

// How the file layer finds a path the data names.
enum class Found { kExactly, kOtherCase, kDirectory, kMissing };
struct Lookup {
  Found found = Found::kMissing;
  std::string actual;  // the path the game ends up opening
};
Lookup FindFile(const std::string& path);
Lookup FindDirectory(const std::string& path);
inline bool IsThere(const Lookup& lookup) { return lookup.found == Found::kExactly || lookup.found == Found::kOtherCase; }

// A path as the report shows it: "/" separators, no doubled ones.
std::string Native(const std::string& path);

// The file names of a directory's files matching a pattern, in the game's listing order.
std::vector<std::string> ListFiles(const std::string& directory, const std::string& pattern);
// Whether the game's decoders take an image or a sound.
bool ImageDecodes(const std::string& path);
bool SoundDecodes(const std::string& path);
extern const std::string kImageFormats;  // what to do with an image that does not decode
// Why the game's decoders refuse an image, as the report says it: "does not decode" and what to
// save it as (`formats`), or its size and that it is too large.
struct ImageRefusal {
  std::string is;    // follows "the ... image "
  std::string todo;  // what to do, for the brackets
};
ImageRefusal WhyRefused(const std::string& path, const std::string& formats);

class DataChecker {
 public:
  DataCheck Run();

 private:
  // ---- The report (checker.cpp) ----
  void Problem(bool error, const std::string& path, int32_t line, const std::string& text);
  void Error(const Place& at, const std::string& text) { Problem(true, at.file, at.line, text); }
  void Warning(const Place& at, const std::string& text) { Problem(false, at.file, at.line, text); }
  std::string Shown(const std::string& path) const;
  void Read(const std::string& path) { read_.insert(Native(path)); }
  // A file the data names: false (and a problem at `at`) when it is missing; a warning when
  // the game finds it only by ignoring letter case.
  bool NeedFile(const Place& at, const std::string& what, const std::string& path, const std::string& effect,
                const std::string& todo = "put the file there, or name one that is");
  // A path found only by ignoring letter case where the only difference lies in a directory
  // setting's own letter case, which is reported once, on its line.
  bool InOtherCaseDirectory(const std::string& path, const std::string& actual) const;

  // ---- Line-pair files (pairs.cpp) ----
  // Keys of a line-pair file: unknown keys (returned, with the pairs they stand in) and pairs
  // read out of step. Returns false when the file is read out of step from some pair on.
  bool CheckKeys(const std::string& path, const std::vector<Pair>& pairs, const KeyKinds& keys,
                 std::vector<const Pair*>* unknown);
  void ReportUnknownKeys(const std::string& path, const std::vector<const Pair*>& unknown, const KeyKinds& keys);
  // Both at once; false when the file is read out of step.
  bool CheckPairs(const std::string& path, const std::vector<Pair>& pairs, const KeyKinds& keys);

  // ---- The configuration (settings.cpp) ----
  // False when the rest cannot be checked (no file, or pairs out of step).
  bool CheckConfiguration();
  Place SettingPlace(const std::string& key) const;
  const Pair* SettingPair(const std::string& key) const;
  bool IsSet(const std::string& key) const { return SettingPair(key) != nullptr; }
  std::string Raw(const std::string& key) const { return IsSet(key) ? SettingPair(key)->value : ""; }
  void SettingProblem(bool error, const std::string& key, const std::string& what, const std::string& todo);
  void CheckDrawingSettings();
  void CheckPlayerSettings();
  void CheckLimitSettings();
  void CheckClockSettings();
  void CheckImageSettings();
  void CheckSettingFormats();
  void CheckDirectories();
  // The directory a setting names exists: names that point into it are worth checking.
  bool DirectoryUsable(const std::string& key) const { return usable_.count(key) != 0; }

  // ---- Sounds and images (media.cpp) ----
  void CheckTopography();
  void CheckSounds();
  void CheckSoundName(const Place& at, const std::string& key, const std::string& name);
  void CheckMusic();
  void CheckFloatingImages(const std::string& key);
  void CheckPictures();
  void CheckImageName(const Place& at, const std::string& key, const std::string& name);

  // ---- The font (font.cpp) ----
  void CheckFont();
  void CheckGlyphs(const Place& line, const std::string& characters, const std::map<uint8_t, std::string>& drawn,
                   std::set<uint8_t>& missing);
  void CheckDrawnGlyphs(const Place& line, const std::map<uint8_t, std::string>& drawn, const std::set<uint8_t>& missing);

  // ---- Object definitions (objects.cpp) ----
  void CheckObjects();
  void CheckObject(const ObjectDefinition& definition, std::map<std::string, std::string>& names);
  void CheckDefinitionNumbers(const std::string& path, const std::map<std::string, const Pair*>& last);
  void CheckDefinitionValues(const ObjectDefinition& d, const std::string& path, const std::map<std::string, const Pair*>& last,
                             std::map<std::string, std::string>& names);

  // ---- Tiles and the labyrinth (tiles.cpp) ----
  void CheckLabyrinth();
  void CheckBaseFile();
  void CheckTileFile(const std::string& name, const std::string& path);
  void CheckTileNumbers(const std::string& path, const TileCell& cell, const std::map<std::string, const Pair*>& last);
  void CheckTileChildren(const std::string& path, const TileCell& cell, const std::map<std::string, const Pair*>& last);
  bool CheckNamedTile(const std::string& directory, const std::string& name, std::set<std::string>& checked);
  void CheckOtherTiles(const std::string& directory, const std::set<std::string>& checked);
  void CheckChildName(const Place& at, const std::string& key, const std::string& name);
  // The first level, built as a run begins with it: warned of when it cannot play as meant.
  void CheckFirstLevel();

  // ---- The world map (world.cpp) ----
  void CheckWorld();
  // What the cell file holds, as the game reads it.
  void CheckWorldCells(const std::string& cells, WorldShape& shape);
  void CheckWorldTiles(const std::string& cells, const WorldShape& shape);
  void CheckWorldValues(const Place& at, const std::string& values, const WorldShape& shape);

  DataCheck result_;
  std::set<std::string> read_;
  std::string ini_;                                  // the configuration file as shown
  PairList iniPairs_;
  std::map<std::string, const Pair*> settingPairs_;  // the last pair of each known key
  std::vector<const Pair*> unknownSettings_;
  std::set<const Pair*> foldedUnknown_;              // unknown keys reported with the setting they miss
  std::set<std::string> reportedSettings_;
  std::set<std::string> usable_;                     // directory settings whose directory exists
  bool baseSound_ = false;                           // the labyrinth's base file was read, and is sound
  // Directories found only by ignoring letter case: as the settings write them, as found.
  std::vector<std::pair<std::string, std::string>> otherCaseDirectories_;
};

}  // namespace check
