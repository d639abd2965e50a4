#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/random.h"
#include "data/object_definitions.h"
#include "game/draw_map.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/game_fixture.h"
#include "world/tile_map.h"

namespace {

using TileMap = GameFixture;

std::string Children(const std::string& one, const std::string& two = "#") {
  std::string pairs = "CHILD1\n" + one + "\nCHILD2\n" + two + "\n";
  for (int slot = 3; slot <= 8; slot++) pairs += "CHILD" + std::to_string(slot) + "\n#\n";
  return pairs;
}

TEST_F(TileMap, PlacingOnAUsedCellOverwritesOnlyWhatTheNewFileNames) {
  WriteTile("LAB_WALL", "GFXNAME\nwall.png\nUSECOLLISION\n1\nTRANSPARENCY\n0\nVALUE1\n3\nUSEENEMY\n1\nUSEDIRECTION\nUP\n");
  WriteTile("LAB_FLOOR", "USECOLLISION\n0\nUSEDIRECTION\nSIDEWAYS\n");
  WriteGraphic("wall.png");
  LoadData();
  PlaceTile(4, 5, "LAB_WALL");
  const TileCell& cell = *tileMap.Find(4, 5);
  const int32_t wallSprite = cell.tileSprite;
  EXPECT_NE(wallSprite, 0);
  PlaceTile(4, 5, "LAB_FLOOR");
  EXPECT_EQ(cell.tileName, "LAB_FLOOR");
  EXPECT_EQ(cell.useCollision, 0);
  EXPECT_EQ(cell.value1, 3);
  EXPECT_EQ(cell.useEnemy, 1);
  EXPECT_EQ(cell.alpha, 255);
  EXPECT_EQ(cell.direction, kTileDirUp);  // an unknown direction leaves it
  EXPECT_EQ(cell.gfxName, "wall.png");  // the floor's file names no graphic
  EXPECT_FALSE(QuadExists(wallSprite));  // the graphic was bound again: the old quad is freed
  EXPECT_TRUE(QuadExists(cell.tileSprite));
  // A name without a file keeps everything but the name.
  PlaceTile(4, 5, "NO_SUCH_TILE");
  EXPECT_EQ(cell.tileName, "NO_SUCH_TILE");
  EXPECT_EQ(cell.value1, 3);
  // Files read once are read again once the directories are read again (here: the file changed).
  WriteTile("LAB_FLOOR", "USECOLLISION\n2\n");
  PlaceTile(4, 5, "LAB_FLOOR");
  EXPECT_EQ(cell.useCollision, 2);
}

TEST_F(TileMap, GraphicNameTransparencyAndTheDummyGraphic) {
  struct Case {
    const char* pairs;
    const char* gfx;
    int32_t alpha;
  };
  const Case cases[] = {
      {"GFXNAME\n\nTRANSPARENCY\n55\n", "dummy.png", 200},
      {"TRANSPARENCY\n255\n", "dummy.png", 0},
      {"GFXNAME\nrock.png\n", "rock.png", 0},  // no TRANSPARENCY on a fresh cell: invisible
  };
  int x = 0;
  for (const Case& c : cases) {
    WriteTile("T" + std::to_string(x), c.pairs);
    PlaceTile(x, 0, "T" + std::to_string(x));
    EXPECT_EQ(tileMap.Find(x, 0)->gfxName, c.gfx) << c.pairs;
    EXPECT_EQ(tileMap.Find(x, 0)->alpha, c.alpha) << c.pairs;
    EXPECT_EQ(tileMap.Find(x, 0)->hasContactObjects, 0);  // spawning clears the -1 of loading
    x++;
  }
}

TEST_F(TileMap, LastNamedChildSetsTheHighestSlotScanned) {
  WriteObject("gem", "DGFXNAME\nGEM\nDDENSITY\n0\n");
  WriteTile("A", "TRANSPARENCY\n0\nCHILD1\n#\nCHILD2\nGEM\n");
  WriteTile("B", "TRANSPARENCY\n0\nCHILD3\nGEM\nCHILD1\nGEM\n");
  LoadData();
  PlaceTile(1, 1, "A");
  const TileCell& a = *tileMap.Find(1, 1);
  EXPECT_EQ(a.maxChildSlot, 1);
  EXPECT_EQ(a.childObject[0], -1);
  EXPECT_EQ(a.childObject[1], 0);
  EXPECT_EQ(a.lastChildSlot, 1);
  PlaceTile(2, 1, "B");
  const TileCell& b = *tileMap.Find(2, 1);
  EXPECT_EQ(b.maxChildSlot, 0);  // CHILD1 came last: slot 2 is never scanned
  EXPECT_EQ(b.lastChildSlot, 0);
  EXPECT_EQ(b.childObject[2], -1);
  EXPECT_EQ(placedObjects.size(), 2u);
}

// Cells hold their names shared with every other cell of the same names: a change to one cell
// (or to a copy of it) changes that cell alone.
TEST_F(TileMap, CellsThatShareTheirNamesChangeOneAtATime) {
  WriteObject("gem", "DGFXNAME\nGEM\nDDENSITY\n0\n");
  WriteTile("A", "TRANSPARENCY\n0\nCHILD1\nGEM\nCHILD2\nGEM\n");
  WriteTile("B", "CHILD2\n#\n");
  LoadData();
  for (int32_t x = 0; x < 3; x++) PlaceTile(x, 0, "A");
  const TileCell copy = *tileMap.Find(2, 0);
  PlaceTile(1, 0, "B");
  PlaceTile(2, 0, "B");
  EXPECT_EQ(tileMap.Find(0, 0)->childName[1], "GEM");
  EXPECT_EQ(tileMap.Find(0, 0)->tileName, "A");
  EXPECT_EQ(tileMap.Find(1, 0)->childName[0], "GEM");  // B leaves CHILD1 as it was
  EXPECT_EQ(tileMap.Find(1, 0)->childName[1], "#");
  EXPECT_EQ(tileMap.Find(1, 0)->tileName, "B");
  EXPECT_EQ(copy.childName[1], "GEM");
  EXPECT_EQ(copy.tileName, "A");
  // A name no cell holds any more is made afresh when a cell takes it again.
  tileMap.Find(0, 1)->tileName = "D";
  tileMap.Find(0, 1)->tileName = "E";
  tileMap.Find(1, 1)->tileName = std::string("D");
  EXPECT_EQ(tileMap.Name(1, 1), "D");
  EXPECT_EQ(tileMap.Name(0, 1), "E");
}

TEST_F(TileMap, EveryDefinitionOfAChildNameDrawsItsOwnChance) {
  WriteObject("a", "DGFXNAME\nGEM\nDDENSITY\n0\nDISGOODY\n257\n");
  WriteObject("b", "DGFXNAME\nGEM\nDDENSITY\n0\nDSCORE\n9\n");
  WriteObject("c", "DGFXNAME\n#\nDDENSITY\n0\n");
  WriteObject("d", "DGFXNAME\nGEM\nDDENSITY\n-1\n");  // a negative density never spawns
  WriteTile("T", "TRANSPARENCY\n0\n" + Children("GEM"));
  LoadData();
  PlaceTile(3, 3, "T");
  const TileCell& cell = *tileMap.Find(3, 3);
  ASSERT_EQ(placedObjects.size(), 2u);
  EXPECT_EQ(cell.childObject[0], 1);  // the slot keeps the last one spawned
  EXPECT_EQ(placedObjects[1].scoreValue, 9);
  EXPECT_EQ(gameState.tilesLeft, 1);  // the goody (257 wraps to 1) counts one more tile
  // A definition named "#" is no tile's child, not even of a child slot naming what "#" is read as.
  WriteTile("N", "TRANSPARENCY\n0\n" + Children("NOPE"));
  PlaceTile(4, 3, "N");
  EXPECT_EQ(placedObjects.size(), 2u);
}

TEST_F(TileMap, DensityGivesAboutOneSpawnInDensityPlusOne) {
  WriteObject("a", "DGFXNAME\nGEM\nDDENSITY\n3\n");
  WriteTile("T", "TRANSPARENCY\n0\n" + Children("GEM"));
  LoadData();
  RandomSeed(99);
  for (int x = 0; x < 200; x++) PlaceTile(x, 0, "T");
  EXPECT_GT(placedObjects.size(), 30u);
  EXPECT_LT(placedObjects.size(), 70u);
}

TEST_F(TileMap, HotspotsCentreFieldAndFittingOffsetTheObject) {
  struct Case {
    const char* pairs;
    float width, offsetX, offsetY;
  };
  const Case cases[] = {
      {"DHOTSPOT\nCENTER\n", 16, 8, 4},
      {"DHOTSPOT\nRIGHT\n", 16, 16, 0},
      {"DHOTSPOT\nBOTTOMLEFT\n", 16, 0, 8},
      {"DHOTSPOT\nBOTTOMRIGHT\nDCENTERFIELD\n1\n", 16, 32, 24},
      {"DHOTSPOT\ncenter\n", 16, 0, 0},
      {"DFITTOMATRIX\n1\nDHOTSPOT\nCENTER\n", 32, 16, 16},
  };
  for (const Case& c : cases) {
    ResetAllState();  // each case from a clean start
    SetUp();
    WriteObject("o", std::string("DGFXNAME\nO\n") + c.pairs, 16, 8);
    WriteTile("T", "TRANSPARENCY\n0\n" + Children("O"));
    LoadData();
    PlaceTile(0, 0, "T");
    ASSERT_EQ(placedObjects.size(), 1u) << c.pairs;
    const PlacedObject& o = placedObjects[0];
    EXPECT_FLOAT_EQ(o.width, c.width) << c.pairs;
    EXPECT_FLOAT_EQ(o.drawOffsetX, c.offsetX) << c.pairs;
    EXPECT_FLOAT_EQ(o.drawOffsetY, c.offsetY) << c.pairs;
    EXPECT_EQ(QuadWidth(o.objSprite), static_cast<int32_t>(c.width)) << c.pairs;
  }
}

TEST_F(TileMap, TileSpritesAreFittedOnlyWhenVisible) {
  WriteTile("SEEN", "GFXNAME\ng.png\nTRANSPARENCY\n0\n");
  WriteTile("HIDDEN", "GFXNAME\ng.png\nTRANSPARENCY\n255\n");
  WriteGraphic("g.png", 8, 8);
  LoadData();
  PlaceTile(0, 0, "SEEN");
  PlaceTile(1, 0, "HIDDEN");
  EXPECT_EQ(QuadWidth(tileMap.Find(0, 0)->tileSprite), 32);
  EXPECT_EQ(QuadWidth(tileMap.Find(1, 0)->tileSprite), 8);
  EXPECT_NE(tileMap.Find(0, 0)->tileSprite, tileMap.Find(1, 0)->tileSprite);  // every cell owns its quad
}

TEST_F(TileMap, ViewSizeAndResetWorld) {
  ComputeViewSize();
  EXPECT_FLOAT_EQ(gameState.viewCols, 20.0f);
  EXPECT_FLOAT_EQ(gameState.viewRows, 15.0f);
  gameState.tileWidth = 0.0f;  // a tile size of 0 from a broken setting must not make the view endless
  ComputeViewSize();
  EXPECT_LE(gameState.viewCols, 513.0f);
  WriteTile("T", "TRANSPARENCY\n0\n");
  PlaceTile(256, 256, "T");
  PlaceTile(257, 0, "T");  // outside the grid: nothing happens
  gameState.viewX = 5;
  ResetWorld();
  EXPECT_EQ(tileMap.Columns(), 257);
  EXPECT_EQ(tileMap.Find(256, 256)->tileName, "");
  EXPECT_FLOAT_EQ(gameState.viewX, 0.0f);
  EXPECT_TRUE(placedObjects.empty());
}

TEST_F(TileMap, DrawMapVisitsTheVisibleWindowAndNeverLeavesTheGrid) {
  WriteLabyrinthTiles();
  LoadData();
  ComputeViewSize();
  // Blue 2 x 2 blocks inside the view fix their upper cells as the map is drawn; one just
  // outside the view (row 15) waits.
  for (int y : {3, 4, 15, 16})
    for (int x : {20, 21}) {
      PlaceTile(x, y, "LAB_BLUE_FLOOR");
      tileMap.Find(x, y)->inMap = 1;
    }
  // A block of cells drawn with opacity 0 (a world map's value of 0) is not drawn, and so waits.
  for (int y : {8, 9})
    for (int x : {5, 6}) {
      PlaceTile(x, y, "LAB_BLUE_FLOOR");
      tileMap.Find(x, y)->inMap = 1;
      tileMap.Find(x, y)->alpha = 0;
    }
  DrawMap();
  EXPECT_EQ(tileMap.Name(5, 8), "LAB_BLUE_FLOOR");
  EXPECT_EQ(tileMap.Name(20, 3), "LAB_FIXED_FLOOR");  // column 20 is the 21st visited column
  EXPECT_EQ(tileMap.Name(21, 3), "LAB_BLUE_FLOOR");
  EXPECT_EQ(tileMap.Name(20, 15), "LAB_BLUE_FLOOR");
  EXPECT_EQ(gameState.cellY, 15);
  // A view at the far corner of the grid reads past its end without harm.
  gameState.viewX = gameState.viewY = 250;
  DrawMap();
  gameState.viewX = gameState.viewY = -40;
  DrawMap();
}

// A tile name is a file name in the tile directory, never a path: names that climb out of it,
// reach into a sub-directory or name a device are missing tiles, and the cell keeps its tile.
TEST_F(TileMap, NamesThatArePathsAreMissingTiles) {
  WriteTile("WALL", "TRANSPARENCY\n0\nVALUE1\n1\n");
  dir.Write("RGB/SECRET", "TRANSPARENCY\n0\nVALUE1\n666\n");
  dir.Write("RGB/LAB/sub/NESTED", "VALUE1\n667\n");
  const std::string climb = "../../../../../../../../../../../..";
  const std::string names[] = {"../SECRET", "..\\SECRET", "sub/NESTED", "sub\\NESTED", dir.Path() + "/RGB/SECRET",
                               "..", ".", climb + "/dev/zero", climb + "/dev/null"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    PlaceTile(1, 1, "WALL");
    PlaceTile(1, 1, name);
    EXPECT_EQ(tileMap.Find(1, 1)->tileName, name);
    EXPECT_EQ(tileMap.Find(1, 1)->value1, 1);
  }
}

}  // namespace
