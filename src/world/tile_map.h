// The tile map: a grid of cells, each holding one named tile read from its tile definition file,
// and the list of objects that tiles spawn on their cells.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/shared_text.h"

// A tile file's USEDIRECTION, by its value DEFAULT, DOWN, LEFT, RIGHT or UP; kept on the cell,
// read by nothing in play.
enum TileDirection : int8_t {
  kTileDirNone = 0,  // a fresh cell, until a tile file names a direction
  kTileDirDefault = 13,
  kTileDirDown = 14,
  kTileDirLeft = 15,
  kTileDirRight = 16,
  kTileDirUp = 17,
};

// A cell of the grid. The names are kept once for all cells (world/shared_text.h) and the
// numbers in the smallest type that holds every value they take, so that the largest world,
// 513 x 513 cells, costs tens of megabytes, not a hundred.
struct TileCell {
  ChildObjects childObject;     // per child slot: position in placedObjects of its object; -1 none
  ChildNames childName;         // per child slot: an object definition's DGFXNAME, or "#"
  SharedText tileName;          // the tile's name, also its definition file's name
  SharedText gfxName;           // file name of an entry of topographyImages
  int32_t tileSprite = 0;       // the cell's own quad; 0 none
  int32_t alpha = 0;            // opacity; 0 = neither drawn nor stepped
  int32_t tileSeed = 0;         // RANDOMSEED; kept, read by nothing
  int32_t transparency = 0;     // TRANSPARENCY; its effect is alpha
  int32_t value1 = 0;           // VALUE1, the score of a fixed cell
  int8_t lastChildSlot = 0;     // highest slot that received an object; -1 none
  int8_t useCollision = 0;      // 0 open, 1 blocks walking, 2 also stops a bomb blast
  int8_t hasContactObjects = 0; // -1 after a definition is read, 0 after spawning, 1 touchable
  int8_t inMap = 0;             // 1 = the cell belongs to the current map
  int8_t maxChildSlot = 0;      // highest slot named with a value other than "#"
  int8_t direction = kTileDirNone;  // USEDIRECTION, a TileDirection
  int8_t useEnemy = 0;          // 1 lets foes spawn here
};

// The grid, indexed by column then row from 0. Positions outside it are never drawn, never
// match a name and are closed to walking; writes to them do nothing.
//
// The cells are kept in square blocks made when a cell of theirs is first asked for through
// the non-const Find: the start-up grid of 513 x 513 cells and the labyrinth's 257 x 257 cost
// only the blocks a map uses. A cell never asked for reads as a default cell.
class TileGrid {
 public:
  void Create(int32_t columns, int32_t rows);
  int32_t Columns() const { return columns_; }
  int32_t Rows() const { return rows_; }
  bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < columns_ && y < rows_; }
  // The cell, or nullptr outside the grid.
  TileCell* Find(int32_t x, int32_t y) { return Inside(x, y) ? &Cell(x, y) : nullptr; }
  const TileCell* Find(int32_t x, int32_t y) const;
  // The cell's tile name; empty outside the grid.
  const std::string& Name(int32_t x, int32_t y) const;
  // The cell's useCollision; 1 (closed) outside the grid.
  int8_t Collision(int32_t x, int32_t y) const;
  // Calls visit(cell) for every cell that has a block, default cells among them.
  template <class Visit>
  void ForEachKeptCell(Visit visit) {
    for (auto& block : blocks_)
      if (block)
        for (TileCell& cell : block->cells) visit(cell);
  }

 private:
  static constexpr int32_t kBlockSide = 16;
  struct Block {
    TileCell cells[kBlockSide * kBlockSide];
  };
  size_t BlockIndex(int32_t x, int32_t y) const {
    return static_cast<size_t>(x / kBlockSide) * static_cast<size_t>(blockRows_) + static_cast<size_t>(y / kBlockSide);
  }
  static size_t InBlock(int32_t x, int32_t y) { return static_cast<size_t>(x % kBlockSide * kBlockSide + y % kBlockSide); }
  TileCell& Cell(int32_t x, int32_t y) {
    std::unique_ptr<Block>& block = blocks_[BlockIndex(x, y)];
    if (!block) block = std::make_unique<Block>();
    return block->cells[InBlock(x, y)];
  }
  std::vector<std::unique_ptr<Block>> blocks_;
  int32_t columns_ = 0, rows_ = 0, blockRows_ = 0;
};

struct PlacedObject {
  int8_t gfxShow = 0;          // DGFXSHOW: drawn
  int32_t alpha = 0;           // DGFXTRANSPARENCY: opacity
  int32_t objSprite = 0;       // the object's own quad
  int8_t collision = 0;        // DCOLLISION: the player touches it
  float width = 0.0f, height = 0.0f;
  float drawOffsetX = 0.0f, drawOffsetY = 0.0f;
  int32_t blendSource = 0;     // DXMODE1
  int32_t blendDest = 0;       // DXMODE2
  int8_t killOnCollision = 0;  // DKILLONCOLLISION
  int32_t scoreValue = 0;      // DSCORE
  int8_t countToScore = 0;     // DCOUNTTOSCORE
  std::string countSound;      // DCOUNTSOUND
  int8_t useCountSound = 0;    // DUSECOUNTSOUND
  int8_t isPlayer = 0;         // DISPLAYER
  int8_t isGoody = 0;          // DISGOODY: counts as one more tile to be done
  int32_t extraTime = 0;       // DEXTRATIME
};

extern TileGrid tileMap;
// Only appended to and cleared whole, so positions stay valid.
extern std::vector<PlacedObject> placedObjects;

struct ObjectDefinition;
struct TopographyImage;
class KeyKinds;
class LinePairWatcher;

// The tile directory: RGBCODEPATH + APPSTART + "\".
std::string TileDirectory();
// Every key a tile definition file may hold, with its kind; other keys are skipped with their value.
const KeyKinds& TileFileKeys();
// Reads a tile definition file into a cell as placing the tile does, telling a watcher of every
// pair (the file is read afresh, not taken from what placing tiles keeps). False when it cannot be opened.
bool ReadTileFile(const std::string& path, TileCell& cell, LinePairWatcher* watcher);
// True when a definition spawns in a child slot of that name: DGFXNAME the same, and not "NOPE".
bool SpawnsAsChild(const ObjectDefinition& definition, const std::string& childName);
// A tile name is the name of one file in the tile directory. A name holding a path separator,
// or naming the directory itself or its parent, is no tile name: such a tile is missing.
bool IsTileName(const std::string& name);
// Reads the definition file of the named tile into cell (x, y); a name that is no tile name
// leaves the cell as a missing file does.
void LoadNamedTile(int32_t x, int32_t y, const std::string& name);

// Frees every sprite and discards the grid and placedObjects (tests and shut-down).
void ResetTileMap();
// Empties the world before a level is built: view to 0, no edge entries, objects and cell
// sprites freed, a fresh grid of 257 x 257 cells.
void ResetWorld();
// Gives cell (x, y) a new tile: its name, its definition file, its graphic and its children.
void PlaceTile(int32_t x, int32_t y, const std::string& name);
void LoadTileDefinition(int32_t x, int32_t y, const std::string& path);
void BindTileGraphic(int32_t x, int32_t y, const std::string& gfxName);
void FitTileSprite(int32_t x, int32_t y);
void SpawnTileChildren(int32_t x, int32_t y);
void AlignPlacedObject(const ObjectDefinition& definition, PlacedObject& object);
// The DHOTSPOT values that move a drawing, with the offset each gives in halves of the drawn
// width and height; any other value leaves the drawing where it is.
struct Hotspot {
  const char* name;
  int32_t x, y;
};
constexpr Hotspot kHotspots[] = {{"CENTER", 1, 1}, {"RIGHT", 2, 0}, {"BOTTOMLEFT", 0, 2}, {"BOTTOMRIGHT", 2, 2}};

// The drawing offset a definition gives a thing drawn width x height: its DHOTSPOT corner,
// plus half a tile each way for DCENTERFIELD 1. Used for placed objects and foes alike.
void HotspotOffset(const ObjectDefinition& definition, float width, float height, float& offsetX, float& offsetY);
void RefitAllTiles();
// viewCols and viewRows from the screen and tile sizes.
void ComputeViewSize();
