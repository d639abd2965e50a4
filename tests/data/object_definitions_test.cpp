#include <gtest/gtest.h>

#include "core/settings.h"
#include "data/object_definitions.h"
#include "media/screen.h"
#include "support/game_fixture.h"

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

}  // namespace
