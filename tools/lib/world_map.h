// The prepared world: an island map designed in code. The ground is laid out from shapes and
// seeded noise (coast, mountains, a river, a village, paths, forest, meadows, fields), then
// each cell gets a tile whose picture fits its neighbours (beaches face the water, paths join
// their neighbours, river banks face the land). Cell (0, 0) is the landing platform of a jetty
// in a small cove in the top-left corner; the island's headland fills that corner with open
// country, so a player can walk far east or south from the landing.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

enum class Ground { Sea, Shallow, Sand, Grass, Meadow, Forest, River, Bridge, Path, Plaza, House, Rock, Peak, Jetty, Field };

struct IslandMap {
  int columns = 0, rows = 0;  // cells; the map files give columns - 1 and rows - 1
  std::vector<Ground> cells;  // row-major
  Ground At(int x, int y) const;
  void Set(int x, int y, Ground g);
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < columns && y < rows; }
};

IslandMap BuildIsland();

// Whether a ground blocks walking.
bool Blocks(Ground g);

// One tile of the world: its colour-code name and what it shows.
struct WorldTile {
  std::string code;    // nine digits: the tile's colour as RRRGGGBBB, the variant added to BBB
  Ground ground = Ground::Sea;
  int variant = 0;     // neighbour mask (N 1, E 2, S 4, W 8), or a look variant; 16: jetty platform
};

// The tile a cell of the map uses.
WorldTile TileOf(const IslandMap& map, int x, int y);
// Every distinct tile the map uses, ordered by code.
std::vector<WorldTile> TilesUsed(const IslandMap& map);
// The tile set: the tiles the map uses and all sixteen joined variants (neighbour masks 0..15)
// of each ground whose pieces join, so that a map painted anew finds every piece it needs.
std::vector<WorldTile> TilesOffered(const IslandMap& map);
// The colour code of a ground's variant: RRRGGGBBB with the variant added to BBB.
std::string CodeOf(Ground ground, int variant);
Canvas DrawWorldTile(const WorldTile& tile);

// The cell file (".ai42") and the value file (".red") of a map, lines ending in CR LF.
std::string CellFileText(const IslandMap& map, const std::string& title);
std::string ValueFileText(const IslandMap& map, const std::string& title);

}  // namespace gen
