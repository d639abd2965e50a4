// The media lists read from directories: how many copies of the floating images a setting may
// ask for, and which music track plays.
#include <gtest/gtest.h>

#include "core/random.h"
#include "core/settings.h"
#include "data/assets.h"
#include "support/game_fixture.h"

namespace {

using Assets = GameFixture;

// EGFXMAX asks for that many more copies of every floating image; 1000 copies and more are cut
// to 1000, and said so.
TEST_F(Assets, FloatingCopiesAreCutToTheMostAndSaidSo) {
  WritePng(dir / "EFX/glow.png", 2, 2, 0xFF0000);
  settings.EGFXPATH = dir / "EFX/";
  const struct {
    int32_t more;
    size_t loaded;
    bool said;
  } cases[] = {{-5, 0, false}, {0, 1, false}, {999, 1000, false}, {1000, 1000, true}, {100000, 1000, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.more);
    settings.EGFXMAX = c.more;
    ::testing::internal::CaptureStderr();
    LoadGameImages();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(gameImages.size(), c.loaded);
    EXPECT_EQ(said.find("are too many; loading 1000") != std::string::npos, c.said) << said;
  }
}

// A track named is played by its name, and a name that is none stops the music. An empty name
// draws the track from the generator (so the draws also shape the level built after it).
TEST_F(Assets, MusicPlaysTheNamedTrackOrADrawnOne) {
  for (const char* name : {"a.ogg", "b.ogg", "c.ogg"}) WriteOgg(dir / (std::string("MUSIC/") + name));
  settings.INGAMEMUSIC = dir / "MUSIC/";
  LoadMusicList();
  ASSERT_EQ(musicTracks.size(), 3u);
  auto playing = [] {
    std::string names;
    for (const MusicEntry& m : musicTracks)
      if (m.sound != 0) names += m.fileName;
    return names;
  };
  PlayMusic("b.ogg");
  EXPECT_EQ(playing(), "b.ogg");
  PlayMusic("d.ogg");
  EXPECT_EQ(playing(), "");
  std::string drawn;
  for (int32_t seed = 1; seed <= 8; seed++) {
    RandomSeed(seed);
    PlayMusic("");
    drawn += playing() + " " + std::to_string(Random(99)) + "; ";
  }
  // The tracks and the next draws of seeds 1 to 8, as the game has always drawn them.
  EXPECT_EQ(drawn, "b.ogg 12; c.ogg 64; a.ogg 91; a.ogg 61; a.ogg 93; b.ogg 34; a.ogg 42; b.ogg 2; ");
}

}  // namespace
