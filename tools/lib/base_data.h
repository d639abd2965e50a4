// The text data of a base directory: the configuration, the labyrinth description, the tile
// definitions and the object definitions, as line-pair files.
#pragma once

#include <string>
#include <vector>

#include "pairs.h"

namespace gen {

enum class BaseKind { Labyrinth, World };

// The labyrinth is drawn at twice the size of its art: 80-pixel tiles on a 1280 x 720 screen,
// every art pixel a 2 x 2 block (tiles, objects and the player), so that the pictures stay crisp
// when the screen is scaled by whole factors. The world keeps its art's own 40 pixels.
constexpr int kLabyrinthMagnification = 2;

// The directory layout, shared by both bases (backslash paths as the data writes them).
struct Layout {
  static constexpr const char* kSounds = "DATA\\SFX\\";
  static constexpr const char* kMusic = "DATA\\MUSIC\\";
  static constexpr const char* kTopo = "DATA\\TOPO\\";
  static constexpr const char* kObjects = "DATA\\OBJ\\";
  static constexpr const char* kTiles = "DATA\\RGB\\";
  static constexpr const char* kFont = "DATA\\FONT\\";
  static constexpr const char* kCharList = "DATA\\CHARS.txt";
  static constexpr const char* kPictures = "DATA\\GFX\\";
  static constexpr const char* kGameGlows = "DATA\\EFX\\";
  static constexpr const char* kTitleGlows = "DATA\\SCRFX\\";
  static constexpr const char* kMaps = "DATA\\MAPS\\";
  static constexpr const char* kLabyrinthBase = "DATA\\LABYRINTH.txt";
};

PairFile Configuration(BaseKind kind);

// One tile definition: every field the game reads is named, so a cell that changes tile never
// keeps a value (or a child) of the tile it had before.
struct TileSpec {
  std::string name;
  std::string image;                 // file name in TOPOGFX
  int collision = 0;                 // 0 open, 1 blocks walking, 2 blocks walking and blasts
  int enemy = 0;                     // foes may start here
  int value = 0;                     // score of a fixed cell
  std::vector<std::string> children; // up to eight object names
};
PairFile TileFile(const TileSpec& tile);

// The fourteen tiles of the labyrinth.
std::vector<TileSpec> LabyrinthTiles();

// One object: its image file name and its definition.
struct ObjectSpec {
  std::string image;  // file name in WORLDGFX
  PairFile definition;
};
std::vector<ObjectSpec> LabyrinthObjects();
std::vector<ObjectSpec> WorldObjects();

// The labyrinth base description: a title, the base width and height, two unused lines.
std::string LabyrinthBaseText();

}  // namespace gen
