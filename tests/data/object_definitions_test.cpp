#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/object_definitions.h"
#include "game/foes.h"
#include "game/level.h"
#include "media/screen.h"
#include "support/game_fixture.h"
#include "world/tile_map.h"

namespace {

using ObjectDefinitions = GameFixture;

TEST(DefinitionPath, CutsAtTheFirstOccurrenceOfTheCodecText) {
  struct Case {
    const char* image;
    const char* codec;
    const char* expected;
  };
  const Case cases[] = {
      {"DATA\\OBJ\\STAR.png", ".png", "DATA\\OBJ\\STAR.dll"},
      {"DATA\\OBJ\\WALL.PNG", ".png", ".dll"},  // other letter case: no occurrence
      {"DATA\\a.png.dir\\STAR.png", ".png", "DATA\\a.dll"},
      {"DATA\\STAR.png", "", ".dll"},
  };
  for (const Case& c : cases) EXPECT_EQ(DefinitionPath(c.image, c.codec), c.expected) << c.image;
}

TEST_F(ObjectDefinitions, KeysAreStoredByTheirKindWithEightBitFieldsWrapped) {
  WriteObject("star",
              "DGFXNAME\nSTAR\nDFITTOMATRIX\n257\nDCOLLISION\n255\nDDENSITY\n-4\nDSCORE \n999\nDAILEVEL\n200\n"
              "DHOTSPOT\nCENTER\nDCOUNTSOUND\nding.ogg\nUNKNOWN\n5\nDEXTRATIME\n7\nDLIFETIME\n3\nDROTATE\n-5\nDXMODE1");
  LoadObjectDefinitions();
  ASSERT_EQ(objectDefinitions.size(), 1u);
  const ObjectDefinition& d = objectDefinitions[0];
  EXPECT_EQ(d.imageName, "star.png");
  EXPECT_EQ(d.imagePath, settings.WORLDGFX + "star.png");
  EXPECT_TRUE(ImageExists(d.sprite));
  EXPECT_EQ(d.DGFXNAME, "STAR");
  EXPECT_EQ(d.DFITTOMATRIX, 1);
  EXPECT_EQ(d.DCOLLISION, -1);
  EXPECT_EQ(d.DDENSITY, -4);
  EXPECT_EQ(d.DSCORE, 0);  // "DSCORE " with a trailing blank is no key
  EXPECT_EQ(d.DAILEVEL, -56);
  EXPECT_EQ(d.DHOTSPOT, "CENTER");
  EXPECT_EQ(d.DCOUNTSOUND, "ding.ogg");
  EXPECT_EQ(d.DEXTRATIME, 7);
  EXPECT_EQ(d.DROTATE, -5);
  EXPECT_EQ(d.DXMODE1, 0);  // the last key line got an empty value
}

TEST_F(ObjectDefinitions, NamesForNothingAndMissingDefinitions) {
  WriteObject("a", "DGFXNAME\n#\n");
  WriteObject("b", "DGFXNAME\n\nDSCORE\n5\n");
  WritePng(dir / "OBJ/c.png", 4, 4, 0);  // no definition file
  WritePng(dir / "OBJ/D.PNG", 4, 4, 0);  // the codec text differs in case: found, but no definition
  dir.Write("OBJ/notes.txt", "DGFXNAME\nX\n");
  dir.MakeDir("OBJ/sub.png");
  LoadObjectDefinitions();
  ASSERT_EQ(objectDefinitions.size(), 4u);
  EXPECT_EQ(objectDefinitions[0].DGFXNAME, "NOPE");
  EXPECT_EQ(objectDefinitions[1].DGFXNAME, "NOPE");
  EXPECT_EQ(objectDefinitions[1].DSCORE, 5);
  EXPECT_EQ(objectDefinitions[2].DGFXNAME, "");
  EXPECT_EQ(objectDefinitions[3].imageName, "D.PNG");
  EXPECT_EQ(objectDefinitions[3].DGFXNAME, "");
}

TEST_F(ObjectDefinitions, ReloadingReplacesTheListAndFreesItsImages) {
  WriteObject("a", "DGFXNAME\nA\n");
  LoadObjectDefinitions();
  const int32_t first = objectDefinitions.at(0).sprite;
  LoadObjectDefinitions();
  ASSERT_EQ(objectDefinitions.size(), 1u);
  EXPECT_FALSE(ImageExists(first) && first != objectDefinitions[0].sprite);
  settings.WORLDGFX = dir / "missing/";
  LoadObjectDefinitions();
  EXPECT_TRUE(objectDefinitions.empty());
}

// Placed objects and foes take their copies from the one table of keys: each value, distinct
// from every other, must land in the field that keeps that key and in no other.
TEST_F(ObjectDefinitions, PlacedObjectsAndFoesKeepTheValuesOfTheirOwnKeys) {
  WriteObject("thing",
              "DGFXNAME\nTHING\nDDENSITY\n0\nDISENEMY\n1\nDGFXTRANSPARENCY\n201\nDCOLLISION\n3\nDXMODE1\n4\nDXMODE2\n7\n"
              "DGFXSHOW\n9\nDKILLONCOLLISION\n10\nDSCORE\n11\nDCOUNTTOSCORE\n12\nDUSECOUNTSOUND\n13\nDCOUNTSOUND\nding.ogg\n"
              "DISPLAYER\n14\nDISGOODY\n15\nDEXTRATIME\n16\nDRANDOMMOVE\n17\nDMOVEX\n18\nDMOVEY\n19\nDVELOX\n20\nDVELOY\n21\n"
              "DAILEVEL\n22\nDDMOVE\n23\nDCHANGEDIRECTION\n24\nDROTATE\n25\n");
  WriteTile("T", "TRANSPARENCY\n0\nUSEENEMY\n1\nCHILD1\nTHING\n");
  LoadData();
  PlaceTile(0, 0, "T");
  ASSERT_EQ(placedObjects.size(), 1u);
  const PlacedObject& o = placedObjects[0];
  const struct {
    const char* field;
    int32_t value, expected;
  } placed[] = {
      {"alpha", o.alpha, 201},          {"collision", o.collision, 3},   {"blendSource", o.blendSource, 4},
      {"blendDest", o.blendDest, 7},    {"gfxShow", o.gfxShow, 9},       {"killOnCollision", o.killOnCollision, 10},
      {"scoreValue", o.scoreValue, 11}, {"countToScore", o.countToScore, 12}, {"useCountSound", o.useCountSound, 13},
      {"isPlayer", o.isPlayer, 14},     {"isGoody", o.isGoody, 15},      {"extraTime", o.extraTime, 16},
  };
  for (const auto& f : placed) EXPECT_EQ(f.value, f.expected) << "placed object's " << f.field;
  EXPECT_EQ(o.countSound, "ding.ogg");

  settings.MAXFOE = 1;
  gameState.mapWidth = gameState.mapHeight = 0;
  SpawnFoes();
  ASSERT_EQ(foes.size(), 1u);
  const Foe& foe = foes[0];
  const struct {
    const char* field;
    int32_t value, expected;
  } kept[] = {
      {"alpha", foe.alpha, 201},          {"collision", foe.collision, 3},  {"blendSource", foe.blendSource, 4},
      {"blendDest", foe.blendDest, 7},    {"gfxShow", foe.gfxShow, 9},      {"randomMove", foe.randomMove, 17},
      {"moveX", foe.moveX, 18},           {"moveY", foe.moveY, 19},         {"velocityX", foe.velocityX, 20},
      {"velocityY", foe.velocityY, 21},   {"aiLevel", foe.aiLevel, 22},     {"moveChance", foe.moveChance, 23},
      {"changeDirection", foe.changeDirection, 24}, {"rotation", foe.rotation, 25},
  };
  for (const auto& f : kept) EXPECT_EQ(f.value, f.expected) << "foe's " << f.field;
}

}  // namespace
