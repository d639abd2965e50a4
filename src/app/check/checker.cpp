#include "app/check/checker.h"

#include <algorithm>

#include "app/check/texts.h"
#include "app/main_loop.h"
#include "core/error_report.h"
#include "core/settings.h"
#include "media/files.h"
#include "media/image_codecs.h"
#include "media/screen.h"
#include "media/sound.h"

namespace check {

std::string Native(const std::string& path) {
  std::string out;
  for (const char c : NativePath(path))
    if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
  return out;
}

// The file layer's own finding, told as the report needs it.
Lookup FindFile(const std::string& path) {
  const FoundPath found = FindPath(path);
  if (found.type == kEntryFile) return {found.asWritten ? Found::kExactly : Found::kOtherCase, Native(found.path)};
  if (found.type == kEntryDirectory) return {Found::kDirectory, Native(found.path)};
  return {Found::kMissing, Native(path)};
}

Lookup FindDirectory(const std::string& path) {
  const std::string asked = path.empty() ? "." : path;
  const FoundPath found = FindPath(asked);
  if (found.type == kEntryDirectory) return {found.asWritten ? Found::kExactly : Found::kOtherCase, Native(found.path)};
  if (found.type == kEntryFile) return {Found::kDirectory, Native(found.path)};  // a file where a directory belongs
  return {Found::kMissing, Native(asked)};
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

const std::string kImageFormats = "save it as PNG, JPEG, TGA or TIFF";

ImageRefusal WhyRefused(const std::string& path, const std::string& formats) {
  std::vector<uint8_t> bytes;
  RgbaPicture picture;
  SizeRefusal refusal;
  if (ReadWholeFile(path, kMaxImageFileBytes, bytes)) {
    const bool decodes = DecodeImageWithin(bytes, kMaxImagePixels, picture, refusal);
    const int64_t width = decodes ? picture.width : refusal.width, height = decodes ? picture.height : refusal.height;
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (refusal.beyondLimits)
      return {"is " + size + ", too large: the game takes images of at most " + std::to_string(kMaxImageSide) +
                  " pixels a side and " + std::to_string(kMaxImagePixels) + " pixels in all",
              "make it smaller"};
    // It decodes alone: the game's memory for decoded images was full.
    if (decodes) return {"is " + size + ", too large to load beside the other images the game holds", "make it smaller"};
  }
  return {"does not decode", formats};
}

std::map<std::string, const Pair*> LastPairs(const std::vector<Pair>& pairs) {
  std::map<std::string, const Pair*> last;
  for (const Pair& pair : pairs) last[pair.key] = &pair;
  return last;
}

std::string DataChecker::Shown(const std::string& path) const {
  std::string shown = Native(path);
  const std::string base = Native(baseDirectory);
  if (!base.empty() && shown.compare(0, base.size(), base) == 0) shown = shown.substr(base.size());
  while (shown.compare(0, 2, "./") == 0) shown = shown.substr(2);
  return shown;
}

void DataChecker::Problem(bool error, const std::string& path, int32_t line, const std::string& text) {
  result_.problems.push_back({Printable(Shown(path)), line, error, Printable(text)});
}

bool DataChecker::NeedFile(const Place& at, const std::string& what, const std::string& path, const std::string& effect,
                           const std::string& todo) {
  const Lookup lookup = FindFile(path);
  switch (lookup.found) {
    case Found::kExactly:
      Read(lookup.actual);
      return true;
    case Found::kOtherCase:
      Read(lookup.actual);
      if (!InOtherCaseDirectory(path, lookup.actual))
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

bool DataChecker::InOtherCaseDirectory(const std::string& path, const std::string& actual) const {
  const std::string written = Shown(path), found = Shown(actual);
  for (const auto& [directory, onDisk] : otherCaseDirectories_)
    if (written.compare(0, directory.size(), directory) == 0 && found.compare(0, onDisk.size(), onDisk) == 0 &&
        written.compare(directory.size(), std::string::npos, found, onDisk.size(), std::string::npos) == 0)
      return true;
  return false;
}

DataCheck DataChecker::Run() {
  ResetAllState();
  SetErrorBoxEnabled(false);
  SetSoundRefusalsQuiet(true);  // each sound that does not decode is one line of ours
  baseDirectory = CurrentDirectory();
  if (CheckConfiguration()) {
    CheckDirectories();
    // Much as start-up loads them: the lists, the screens' pictures, the font; then the mode's
    // own data.
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
    // The settings whose effect depends on all that.
    CheckDrawingSettings();
    CheckPlayerSettings();
    CheckLimitSettings();
    CheckClockSettings();
    CheckImageSettings();
    CheckSettingFormats();
    ReportUnknownKeys(ini_, unknownSettings_, SettingKeys());
    if (result_.labyrinthMode) CheckFirstLevel();
  }
  std::stable_sort(result_.problems.begin(), result_.problems.end(), [](const DataProblem& a, const DataProblem& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  result_.filesRead = static_cast<int32_t>(read_.size());
  return result_;
}

}  // namespace check
