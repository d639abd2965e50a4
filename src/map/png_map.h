// A world map as an RGBA picture, as a paint program reads and writes it: one pixel a cell, its
// red, green and blue the cell's three texts as numbers 0..255, its alpha the cell's opacity.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "map/map_files.h"

// The picture of the cells (rows from the top, four bytes a pixel). False, with the first cell
// that cannot be a pixel and how many more, when a text is not a number 0..255 written plainly
// or with three digits ("86" or "086"), or an opacity lies outside 0..255.
bool MapPicture(const MapCells& cells, std::vector<uint8_t>& rgba, std::string& refusal);

// The cells of a picture file (PNG, or any image the game decodes). A channel becomes its text
// in the form the tile directory's names use: three digits each when that names a tile file
// ("086"), else the plain number ("86"). False, with the first pixel and how many more, when a
// colour names no tile file in either form, or when the picture is no image or is larger than
// the game's grid.
bool ReadPngMap(const std::vector<uint8_t>& file, const std::set<std::string>& tileNames, MapCells& cells,
                std::string& refusal);
