// A clean game state over a scratch base directory, with helpers that write the data files a
// test needs: tile definitions, object definitions with their images, sounds.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/sample_files.h"
#include "support/temp_dir.h"

// Writes an RGBA PNG of one colour (r + g*256 + b*65536, alpha 255).
void WritePng(const std::string& path, int width, int height, uint32_t colour);
// Writes a short OGG Vorbis tone.
void WriteOgg(const std::string& path, double seconds = 0.05);
// Writes bytes to a file, creating its directories.
void WriteBytes(const std::string& path, const Bytes& bytes);

class GameFixture : public ::testing::Test {
 protected:
  // Points the settings at the scratch directory (tiles in RGB/LAB/, objects in OBJ/, tile
  // graphics in TOPO/, sounds in SFX/), 32-pixel tiles, a 640 x 480 screen. (Every unit test
  // starts from ResetAllState already.)
  void SetUp() override;

  // A tile definition file; `pairs` are its lines, "KEY\nvalue\n...".
  void WriteTile(const std::string& name, const std::string& pairs);
  // The standard labyrinth tiles: walls block (1), water blocks and stops blasts (2), the rest
  // are open; all opaque, each with its own graphic; floor lets foes spawn. Fixed floor scores 10.
  void WriteLabyrinthTiles(const std::string& floorChildren = "");
  // An object image (w x h) with its definition file beside it.
  void WriteObject(const std::string& fileBase, const std::string& pairs, int width = 16, int height = 16);
  // A tile graphic in TOPO/.
  void WriteGraphic(const std::string& fileName, int width = 8, int height = 8);
  // A sound in SFX/ (loaded by LoadSoundEffects).
  void WriteSound(const std::string& fileName);
  // Loads topography images, object definitions and sounds as start-up does.
  void LoadData();

  // Places a tile name without its definition, as a quick way to set up a rule test.
  void Name(int x, int y, const std::string& name);

  TempDir dir;
};
