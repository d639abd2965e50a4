// Media found by scanning directories: sound effects, music tracks, topography images and the
// images floating over the title and the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoundEntry {
  std::string path;
  std::string fileName;  // the name the game plays it by
  int32_t sound = 0;
  int8_t loaded = 0;
};

struct MusicEntry {
  std::string path;
  std::string fileName;
  int32_t sound = 0;     // the track while it is loaded
};

struct TopographyImage {
  std::string path;
  int32_t sprite = 0;
  std::string fileName;
  float width = 0.0f, height = 0.0f;
};

struct FloatingImage {
  float x = 0.0f, y = 0.0f;
  int32_t sprite3D = 0;
  float vx = 0.0f, vy = 0.0f;
};

extern std::vector<SoundEntry> soundEffects;
extern std::vector<MusicEntry> musicTracks;
extern std::vector<TopographyImage> topographyImages;
extern std::vector<FloatingImage> titleImages;
extern std::vector<FloatingImage> gameImages;

// More copies than this of every floating image would only exhaust memory; a larger
// EGFXMAX or SCREGFXMAX is cut to it.
constexpr int32_t kMostFloatingCopies = 1000;

void LoadSoundEffects();
void LoadMusicList();
void LoadTopographyImages();
void LoadTitleImages();
void LoadGameImages();

// The topography image of a file name (exactly); nullptr for none.
const TopographyImage* FindTopographyImage(const std::string& fileName);
// The sound effect a name plays: the first whose file name is the name, exactly; nullptr for none.
const SoundEntry* FindSoundEffect(const std::string& name);
// Plays the sound effect FindSoundEffect finds, if it loaded; flags go to PlaySoundFrom.
void PlaySoundByName(const std::string& name, int8_t flags);
// Stops every track and starts one, looping: the named one, or a random one for "".
void PlayMusic(const std::string& name);
// Moves and draws a list of floating images; mode 1 blends (one, source alpha).
void DrawFloatingImages(std::vector<FloatingImage>& images, int32_t mode);

// Frees everything the lists hold and empties them.
void FreeAssets();
