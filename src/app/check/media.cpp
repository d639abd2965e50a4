// Sounds and images: the lists the game loads (tile graphics, sound effects, music, floating
// images), the screens' pictures, and the names that call for them.
#include <cmath>

#include "app/check/checker.h"
#include "app/check/texts.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "media/screen.h"
#include "media/text.h"
#include "ui/menus.h"
#include "world/tile_map.h"

namespace check {

void DataChecker::CheckTopography() {
  LoadTopographyImages();
  if (!DirectoryUsable("TOPOGFX")) return;
  // Every cell draws its graphic stretched to the tile size.
  const bool sized = settings.RESOLUTION > 0.0f && std::isfinite(settings.RESOLUTION);
  const int32_t tileWidth = RoundHalfEven(gameState.tileWidth), tileHeight = RoundHalfEven(gameState.tileHeight);
  const std::string tile = std::to_string(tileWidth) + " x " + std::to_string(tileHeight);
  constexpr size_t kMostNamed = 5;
  size_t otherSize = 0;
  for (const TopographyImage& image : topographyImages) {
    Read(image.path);
    if (image.sprite != 0) {
      const int32_t width = ImageWidth(image.sprite), height = ImageHeight(image.sprite);
      if (!sized || (width == tileWidth && height == tileHeight)) continue;
      if (++otherSize <= kMostNamed)
        Warning({image.path, 0}, "the tile graphic is " + std::to_string(width) + " x " + std::to_string(height) +
                                     " pixels, but RESOLUTION makes tiles of " + tile + ", so it is drawn stretched (draw it at " +
                                     tile + ", or set RESOLUTION to the size of the graphics)");
      else if (otherSize == kMostNamed + 1)
        Warning({image.path, 0}, "this and the tile graphics after it that are not " + tile +
                                     " pixels are drawn stretched as well (draw them at " + tile + ")");
      continue;
    }
    const ImageRefusal refused = WhyRefused(image.path, kImageFormats);
    Error({image.path, 0}, "the tile graphic " + refused.is + ", so tiles that name it draw nothing (" + refused.todo + ")");
  }
}

void DataChecker::CheckSounds() {
  LoadSoundEffects();
  if (!DirectoryUsable("SOUNDFXPATH")) return;
  for (const SoundEntry& sound : soundEffects) {
    Read(sound.path);
    if (!sound.loaded) Error({sound.path, 0}, "the sound does not decode, so it never plays (save it as OGG Vorbis or WAV)");
  }
  for (const std::string& key : SettingKeys().Names()) {
    const Pair* pair = SettingPair(key);
    if (*SettingKeys().Find(key) != ValueKind::kSoundName || !pair || pair->value.empty()) continue;
    CheckSoundName({ini_, pair->valueLine}, key, pair->value);
  }
}

void DataChecker::CheckSoundName(const Place& at, const std::string& key, const std::string& name) {
  if (!DirectoryUsable("SOUNDFXPATH") || FindSoundEffect(name)) return;
  std::vector<std::string> names;
  for (const SoundEntry& sound : soundEffects) names.push_back(sound.fileName);
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

void DataChecker::CheckMusic() {
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

void DataChecker::CheckFloatingImages(const std::string& key) {
  if (!DirectoryUsable(key)) return;
  const std::string& directory = key == "EGFXPATH" ? settings.EGFXPATH : settings.SCREGFXPATH;
  for (const std::string& name : ListFiles(directory, "*.png")) {
    Read(directory + name);
    if (ImageDecodes(directory + name)) continue;
    const ImageRefusal refused = WhyRefused(directory + name, kImageFormats);
    Error({directory + name, 0}, "the floating image " + refused.is + ", so it never shows (" + refused.todo + ")");
  }
}

void DataChecker::CheckPictures() {
  // The credits picture takes turns between the two files its "#" stands for.
  if (!settings.LOADSCREEN.empty()) {
    const Place at = SettingPlace("LOADSCREEN");
    if (CreditsPicturePath(0).empty()) {
      SettingProblem(false, "LOADSCREEN", "without a # no picture loads, and the first credits page stays black",
                     "write the picture's name with # for a digit, such as DATA\\GFX\\LOAD#.png for LOAD0.png and LOAD1.png");
    } else {
      for (int32_t digit = 0; digit <= 1; digit++) {
        const std::string path = CreditsPicturePath(digit);
        if (!NeedFile(at, "the credits picture", path, "the credits screen shows black when it is chosen") || ImageDecodes(path)) continue;
        const ImageRefusal refused = WhyRefused(path, kImageFormats);
        Error({path, 0}, "the credits picture " + refused.is + ", so the credits screen shows black when it is chosen (" + refused.todo + ")");
      }
    }
  }
  if (!settings.LOADINTROSCREEN.empty()) {
    const std::string& path = settings.LOADINTROSCREEN;
    if (NeedFile(SettingPlace("LOADINTROSCREEN"), "the title picture", path, "the title screen is drawn on black") &&
        !ImageDecodes(path)) {
      const ImageRefusal refused = WhyRefused(path, kImageFormats);
      Error({path, 0}, "the title picture " + refused.is + ", so the title screen is drawn on black (" + refused.todo + ")");
    }
  }
}

void DataChecker::CheckImageName(const Place& at, const std::string& key, const std::string& name) {
  if (!DirectoryUsable("TOPOGFX")) return;
  if (FindTopographyImage(name)) return;
  std::vector<std::string> names;
  for (const TopographyImage& image : topographyImages) names.push_back(image.fileName);
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

}  // namespace check
