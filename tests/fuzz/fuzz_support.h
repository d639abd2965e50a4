// What the fuzz targets share: a scratch base directory for the process, holding the tiles,
// object definitions, images and glyphs that the readers under test can find, and a clean game
// state for every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "map/tiled_map.h"

// The scratch base directory (with a trailing "/"), made on the first call.
const std::string& FuzzDirectory();
// Writes the bytes to a file of that name inside the scratch directory; returns its full path.
std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size);
// Every global back to its start, the settings pointed at the scratch directory (tiles in
// RGB/LAB/, objects in OBJ/, tile graphics in TOPO/, sounds in SFX/, glyphs in FONT/), 32-pixel
// tiles on a 640 x 480 screen, and a tile map of side x side cells.
void ResetForInput(int32_t side = 24);

// One input of a Tiled map reader (ReadTmx or ReadTmj): the bytes up to a line "#tileset" are
// the map, what follows is every external tileset it names; then the cells are taken from it.
// A refusal must say why, and a map taken must fill every cell of its size.
using TiledReader = bool (*)(const std::string& text, const std::string& file, const TilesetReader& tilesets,
                             TiledMap& map, std::string& refusal);
void FuzzTiledMap(const uint8_t* data, size_t size, TiledReader read, const char* file);
