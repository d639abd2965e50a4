#include "data/assets.h"

#include <cstdio>
#include <unordered_map>

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"

std::vector<SoundEntry> soundEffects;
std::vector<MusicEntry> musicTracks;
std::vector<TopographyImage> topographyImages;
std::vector<FloatingImage> titleImages;
std::vector<FloatingImage> gameImages;

namespace {

// Where each file name stands in topographyImages, filled with the list: a world places its
// tiles' graphics a quarter million times over.
std::unordered_map<std::string, size_t> topographyByName;

// Calls visit(name) for every file (not directory) of the directory matching the pattern,
// in listing order. A directory that cannot be listed gives nothing.
template <typename Visit>
void ScanDirectory(const std::string& directory, const std::string& pattern, Visit visit) {
  const int32_t listing = ListDirectory(-1, directory, pattern);
  if (listing == 0) return;
  while (NextEntry(listing))
    if (EntryType(listing) == kEntryFile) visit(EntryName(listing));
  EndListing(listing);
}

// Every floating copy owns an image of its own besides its quad; the images are kept here,
// beside the lists, and freed with them.
std::vector<int32_t> titleImageFiles, gameImageFiles;

void FreeFloatingImages(std::vector<FloatingImage>& images, std::vector<int32_t>& files) {
  for (FloatingImage& image : images) FreeQuad(image.sprite3D);
  images.clear();
  for (int32_t image : files) FreeImage(image);
  files.clear();
}

void LoadFloatingImages(std::vector<FloatingImage>& images, std::vector<int32_t>& files,
                        const std::string& directory, int32_t copies) {
  FreeFloatingImages(images, files);
  if (copies >= kMostFloatingCopies) {
    std::fprintf(stderr, "quorvex: %lld copies of every floating image of %s are too many; loading %d\n", copies + 1LL,
                 directory.c_str(), kMostFloatingCopies);
    copies = kMostFloatingCopies - 1;
  }
  for (int32_t pass = 0; pass <= copies; pass++) {
    ScanDirectory(directory, "*.png", [&](const std::string& name) {
      FloatingImage f;
      SetTransparentColour(kBlack);
      const int32_t image = LoadImage(-1, directory + name);
      files.push_back(image);
      f.sprite3D = MakeQuad(-1, image);
      f.vx = static_cast<float>(Random(5)) + 1.0f;
      f.vy = static_cast<float>(Random(5)) + 1.0f;
      images.push_back(f);
    });
  }
}

}  // namespace

void LoadSoundEffects() {
  for (SoundEntry& s : soundEffects) FreeSound(s.sound);
  soundEffects.clear();
  ScanDirectory(settings.SOUNDFXPATH, "*.ogg", [](const std::string& name) {
    SoundEntry s;
    s.path = settings.SOUNDFXPATH + name;
    s.sound = LoadSoundFile(-1, s.path);
    s.fileName = name;
    s.loaded = s.sound != 0 ? 1 : 0;
    soundEffects.push_back(std::move(s));
  });
}

void LoadMusicList() {
  for (MusicEntry& m : musicTracks) FreeSound(m.sound);
  musicTracks.clear();
  ScanDirectory(settings.INGAMEMUSIC, "*.ogg", [](const std::string& name) {
    MusicEntry m;
    m.path = settings.INGAMEMUSIC + name;
    m.fileName = name;
    musicTracks.push_back(std::move(m));
  });
}

void LoadTopographyImages() {
  for (TopographyImage& t : topographyImages) FreeImage(t.sprite);
  topographyImages.clear();
  topographyByName.clear();
  ScanDirectory(settings.TOPOGFX, "*" + settings.GFXCODEC, [](const std::string& name) {
    TopographyImage t;
    t.path = settings.TOPOGFX + name;
    t.sprite = LoadImage(-1, t.path);
    t.fileName = name;
    t.width = static_cast<float>(ImageWidth(t.sprite));
    t.height = static_cast<float>(ImageHeight(t.sprite));
    topographyByName.emplace(name, topographyImages.size());
    topographyImages.push_back(std::move(t));
  });
}

const TopographyImage* FindTopographyImage(const std::string& fileName) {
  const auto known = topographyByName.find(fileName);
  if (known != topographyByName.end() && known->second < topographyImages.size() &&
      topographyImages[known->second].fileName == fileName)
    return &topographyImages[known->second];
  for (const TopographyImage& entry : topographyImages)
    if (entry.fileName == fileName) return &entry;
  return nullptr;
}

void LoadTitleImages() { LoadFloatingImages(titleImages, titleImageFiles, settings.SCREGFXPATH, settings.SCREGFXMAX); }

void LoadGameImages() { LoadFloatingImages(gameImages, gameImageFiles, settings.EGFXPATH, settings.EGFXMAX); }

const SoundEntry* FindSoundEffect(const std::string& name) {
  for (const SoundEntry& s : soundEffects)
    if (s.fileName == name) return &s;
  return nullptr;
}

void PlaySoundByName(const std::string& name, int8_t flags) {
  const SoundEntry* s = FindSoundEffect(name);
  if (s && s->loaded) PlaySoundFrom(s->sound, flags);
}

void PlayMusic(const std::string& name) {
  for (MusicEntry& m : musicTracks) {
    if (SoundExists(m.sound)) {
      StopSoundNow(m.sound);
      FreeSound(m.sound);
    }
    m.sound = 0;
  }
  MusicEntry* chosen = nullptr;
  if (name.empty()) {
    if (musicTracks.empty()) return;
    size_t track = 0;
    while (Random(10) != 0) track = (track + 1) % musicTracks.size();
    chosen = &musicTracks[track];
  } else {
    for (MusicEntry& m : musicTracks) {
      if (m.fileName == name) {
        chosen = &m;
        break;
      }
    }
    if (!chosen) return;
  }
  chosen->sound = OpenSoundStream(-1, chosen->path);
  if (chosen->sound != 0) PlaySoundFrom(chosen->sound, 1);
}

void DrawFloatingImages(std::vector<FloatingImage>& images, int32_t mode) {
  if (mode == 1)
    SetQuadBlending(2, 5);
  else
    SetQuadBlending(5, 6);
  const float w = gameState.screenWidth, h = gameState.screenHeight;
  for (FloatingImage& f : images) {
    if (Random(50) == 0) {
      f.vx = static_cast<float>(Random(10) - Random(10));
      f.vy = static_cast<float>(Random(10) - Random(10));
    }
    if (f.x + f.vx > w || f.x + f.vx < 1.0f) f.vx = -f.vx;
    if (f.y + f.vy > h || f.y + f.vy < 1.0f) f.vy = -f.vy;
    f.x += f.vx;
    f.y += f.vy;
    DrawQuad(f.sprite3D, RoundHalfEven(f.x), RoundHalfEven(f.y), 255);
  }
  SetQuadBlending(5, 6);
}

void FreeAssets() {
  for (SoundEntry& s : soundEffects) FreeSound(s.sound);
  soundEffects.clear();
  for (MusicEntry& m : musicTracks) FreeSound(m.sound);
  musicTracks.clear();
  for (TopographyImage& t : topographyImages) FreeImage(t.sprite);
  topographyImages.clear();
  topographyByName.clear();
  FreeFloatingImages(titleImages, titleImageFiles);
  FreeFloatingImages(gameImages, gameImageFiles);
}
