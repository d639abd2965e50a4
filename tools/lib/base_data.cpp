#include "base_data.h"

#include "sprites.h"

namespace gen {

namespace {

// Levels after the first are 10..19 cells plus the level number on each side; the first is
// the sum of two random numbers below 10.
constexpr int kLabyrinthBaseSide = 20;

}  // namespace

PairFile Configuration(BaseKind kind) {
  const bool lab = kind == BaseKind::Labyrinth;
  PairFile f;
  f.Comment(lab ? "Quorvex: the labyrinth game. Key lines, then value lines; unknown keys like this one are skipped."
                : "Quorvex: the island, a prepared world to walk. Key lines, then value lines; unknown keys are skipped.");
  f.Add("APPNAME", lab ? "Quorvex" : "Quorvex - The Island");
  f.Comment(lab ? "Drawing: a 1280 x 720 screen, scaled to the display; 80-pixel tiles (16 x 9 on screen), the font at its own size."
                : "Drawing: a 1280 x 720 screen, scaled to the display; 40-pixel tiles (32 x 18 on screen), the font at its own size.");
  f.Add("SCREENSIZE", "1280x720");
  f.Add("WINDOWMODE", 1);
  f.Add("USESPRITE3D", 1);
  f.Add("RESOLUTION", std::to_string(kTileSize * (lab ? kLabyrinthMagnification : 1)) + ".0");
  f.Add("RESBASEW", 1280);
  f.Add("FULLSCREENZOOM", "1.0");
  f.Add("SMOOTH", 0);
  f.Add("MULTITASK", 0);
  f.Add("GFXCODEC", ".png");
  f.Add("USEEXTENDEDTOPO", 0);

  f.Comment("Where things are.");
  f.Add("SOUNDFXPATH", Layout::kSounds);
  f.Add("INGAMEMUSIC", Layout::kMusic);
  f.Add("TOPOGFX", Layout::kTopo);
  f.Add("WORLDGFX", Layout::kObjects);
  f.Add("RGBCODEPATH", Layout::kTiles);
  f.Add("FONTPATH", Layout::kFont);
  f.Add("FONTSYSTEM", Layout::kCharList);
  f.Add("LOADSCREEN", std::string(Layout::kPictures) + "LOAD#.png");
  f.Add("LOADINTROSCREEN", std::string(Layout::kPictures) + "TITLE.png");
  f.Add("CURSOR", std::string(Layout::kPictures) + "PLAYER.png");
  f.Comment("Dim glows drifting over the game and the title: few copies, so they add and never clutter.");
  f.Add("EGFXPATH", Layout::kGameGlows);
  f.Add("EGFXMAX", 1);
  f.Add("SCREGFXPATH", Layout::kTitleGlows);
  f.Add("SCREGFXMAX", 1);

  f.Comment("Sounds, by file name in SOUNDFXPATH.");
  f.Add("KESTRAVON1", "page1.ogg");
  f.Add("KESTRAVON", "page2.ogg");
  f.Add("TIMERSOUND", "timer.ogg");
  f.Add("DEFTILESOUND", "step.ogg");
  f.Add("FIXEDTILESOUND", "fixed.ogg");
  f.Add("PINKTILEFIXEDSOUND", "lost.ogg");
  f.Add("EXPLOSIONSOUND", "blast.ogg");

  f.Comment("The player moves a cell every 7 frames while a direction is held (about 9 cells a second).");
  f.Add("CURSORSPEED", 249);
  f.Add("GAMEMODE", "DEFAULT");
  if (lab)
    f.Comment("The seed gives a first level of 18 x 9 cells with two foes that fills the screen, its top and bottom "
              "rows walls under the display's texts; levels 2 to 5 are 15 x 12, 18 x 17, 21 x 22 and 23 x 16.");
  f.Add("WORLDRANDOM", lab ? 1695 : 31337);
  f.Add("APPENTRY", Layout::kMaps);
  f.Add("APPSTART", lab ? "LAB" : "ISLAND");
  f.Add("SELFCREATEBASE", Layout::kLabyrinthBase);
  if (lab) {
    f.Comment("Labyrinth: levels grow from a 20-cell base; walkers turn with chance 1 in 6 (long corridors).");
    f.Add("USESELFCREATEBASE", 1);
    f.Add("MAPSIZE", 64);
    f.Add("LABSWITCH", 5);
    f.Add("MAXFOE", 4);
    f.Comment("A clock second lasts 301 frames, about 5 real seconds; the clock starts at floor cells / 16.");
    f.Add("WORLDREFRESH", 300);
  } else {
    f.Comment("World: the island map; no foes, and a clock second that never ends the visit.");
    f.Add("USESELFCREATEBASE", 0);
    f.Add("MAPSIZE", 64);
    f.Add("LABSWITCH", 5);
    f.Add("MAXFOE", 0);
    f.Add("WORLDREFRESH", 2147483647);
  }

  f.Comment("Read by the game and not used; set so this file describes the base completely.");
  f.Add("SAVEGFX", 0);
  f.Add("SAVEEVOLUTION", 0);
  f.Add("GFXPATH", Layout::kPictures);
  f.Add("TOPO", Layout::kTopo);
  f.Add("BASICGFX", Layout::kPictures);
  f.Add("SYSTEMCORE", "DATA\\");
  f.Add("CORENAME", "QUORVEX");
  f.Add("LOGPATH", "");
  f.Add("LOGFILE", "");
  f.Add("USELOGFILE", 0);
  f.Add("LOADANIM", 0);
  f.Add("RESBASEH", 720);
  f.Add("VEGIDENSE", 0);
  f.Add("USEFULLMATRIX", 0);
  f.Add("MULTICORE", 0);
  f.Add("WORLDTEMPERATURE", 0);
  f.Add("VIEW", 0);
  f.Add("ENDTIMERSOUND", "timer.ogg");
  f.Add("BOMBPICKUPSOUND", "bombget.ogg");
  f.Add("MENUMUSIC", "menu.ogg");
  f.Add("USESCALER", 0);
  return f;
}

PairFile TileFile(const TileSpec& t) {
  PairFile f;
  f.Add("INTERNALNAME", t.name);
  f.Add("GFXNAME", t.image);
  for (size_t i = 0; i < 8; ++i)
    f.Add("CHILD" + std::to_string(i + 1), i < t.children.size() ? t.children[i] : "#");
  f.Add("VALUE1", t.value);
  f.Add("RANDOMSEED", 0);
  f.Add("USECOLLISION", t.collision);
  f.Add("TRANSPARENCY", 0);
  f.Add("USEENEMY", t.enemy);
  f.Add("USEDIRECTION", "DEFAULT");
  return f;
}

std::vector<TileSpec> LabyrinthTiles() {
  return {
      {"LAB_WALL", "wall.png", 1, 0, 0, {}},
      {"LAB_WALL_E", "wall_e.png", 1, 0, 0, {}},
      {"LAB_WALL_S", "wall_s.png", 1, 0, 0, {}},
      // Pick-ups lie on fresh floor; painting re-places the cell as blue floor, which has none.
      {"LAB_FLOOR", "floor.png", 0, 1, 0, {"COIN", "GEM", "BOMB", "CLOCK", "CHERRY"}},
      {"LAB_GREEN", "green.png", 0, 0, 0, {"CHERRY", "COIN"}},
      {"LAB_GREEN_E", "green_e.png", 0, 0, 0, {}},
      {"LAB_GREEN_S", "green_s.png", 0, 0, 0, {}},
      // Water blocks walking and stops bomb blasts: pools shelter what lies behind them.
      {"LAB_WATER", "water.png", 2, 0, 0, {}},
      {"LAB_WATER_E", "water_e.png", 2, 0, 0, {}},
      {"LAB_WATER_S", "water_s.png", 2, 0, 0, {}},
      {"LAB_BLUE_FLOOR", "blue.png", 0, 0, 0, {}},
      {"LAB_FIXED_FLOOR", "fixed_blue.png", 0, 0, 10, {}},
      {"LAB_PINK_FLOOR", "pink.png", 0, 0, 0, {}},
      {"LAB_FIXED_PINK_FLOOR", "fixed_pink.png", 0, 0, 0, {}},
  };
}

namespace {

struct ObjectFields {
  std::string name = "#";
  int density = 0;
  int collision = 1;
  int kill = 1;
  int score = 0;
  int countToScore = 0;
  std::string sound;
  int enemy = 0;
  int randomMove = 0;
  int velocity = 0;
  int ai = 0;
  int actChance = 0;
  int turnChance = 0;
  int goody = 0;
  int extraTime = 0;
  int rotate = 0;
  int blendSource = 0, blendDestination = 0;
};

PairFile Definition(const ObjectFields& o) {
  PairFile f;
  f.Add("DGFXNAME", o.name);
  f.Add("DGFXTRANSPARENCY", 255);
  f.Add("DDENSITY", o.density);
  f.Add("DFITTOMATRIX", 1);
  f.Add("DCOLLISION", o.collision);
  f.Add("DHOTSPOT", "");
  f.Add("DXMODE1", o.blendSource);
  f.Add("DXMODE2", o.blendDestination);
  f.Add("DGFXSHOW", 1);
  f.Add("DCENTERFIELD", 0);
  f.Add("DKILLONCOLLISION", o.kill);
  f.Add("DSCORE", o.score);
  f.Add("DCOUNTTOSCORE", o.countToScore);
  f.Add("DCOUNTSOUND", o.sound);
  f.Add("DUSECOUNTSOUND", o.sound.empty() ? 0 : 1);
  f.Add("DISPLAYER", 0);
  f.Add("DISENEMY", o.enemy);
  f.Add("DRANDOMMOVE", o.randomMove);
  f.Add("DMOVEX", 0);
  f.Add("DMOVEY", 0);
  f.Add("DVELOX", o.velocity);
  f.Add("DVELOY", o.velocity);
  f.Add("DAILEVEL", o.ai);
  f.Add("DDMOVE", o.actChance);
  f.Add("DCHANGEDIRECTION", o.turnChance);
  f.Add("DISGOODY", o.goody);
  f.Add("DEXTRATIME", o.extraTime);
  f.Add("DROTATE", o.rotate);
  f.Add("DLIFETIME", 0);
  f.Add("DPOWERUP", 0);
  return f;
}

}  // namespace

std::vector<ObjectSpec> LabyrinthObjects() {
  std::vector<ObjectSpec> list;
  // Densities: a chance of 1 in (density + 1) per floor cell, so a level of 150 floor cells
  // holds about five coins, three clocks, three cherries, two gems and two bombs.
  {
    ObjectFields o;
    o.name = "COIN", o.density = 30, o.score = 25, o.sound = "coin.ogg";
    list.push_back({"coin.png", Definition(o).Comment("A coin: 25 points at once.")});
  }
  {
    ObjectFields o;
    o.name = "GEM", o.density = 60, o.score = 100, o.countToScore = 1, o.sound = "gem.ogg";
    list.push_back({"gem.png", Definition(o).Comment("A gem: 100 points, counted up on the score display.")});
  }
  {
    ObjectFields o;
    o.name = "BOMB", o.density = 70, o.sound = "bombget.ogg";
    list.push_back({"bomb.png", Definition(o).Comment("A bomb to carry (three at most).")});
  }
  {
    ObjectFields o;
    o.name = "CLOCK", o.density = 45, o.score = 10, o.extraTime = 6, o.sound = "time.ogg";
    list.push_back({"clock.png", Definition(o).Comment("Six more seconds on the level clock.")});
  }
  {
    ObjectFields o;
    o.name = "CHERRY", o.density = 40, o.score = 50, o.goody = 1, o.sound = "goody.ogg";
    list.push_back({"cherry.png", Definition(o).Comment("A goody: 50 points, and one more thing to do before the level is done.")});
  }
  {
    ObjectFields o;
    o.density = 50, o.kill = 0, o.enemy = 1, o.velocity = 6, o.ai = 1, o.actChance = 1, o.turnChance = 6, o.rotate = 6;
    list.push_back({"spinner.png", Definition(o).Comment("A foe: a spiked wheel that spins as it rolls.")});
  }
  {
    ObjectFields o;
    o.density = 70, o.kill = 0, o.enemy = 1, o.velocity = 8, o.ai = 1, o.actChance = 2, o.turnChance = 3,
    o.randomMove = 1, o.blendSource = 5, o.blendDestination = 2;
    list.push_back({"wisp.png", Definition(o).Comment("A foe: a glowing wisp, drawn adding light (source alpha, one).")});
  }
  return list;
}

std::vector<ObjectSpec> WorldObjects() {
  std::vector<ObjectSpec> list;
  {
    ObjectFields o;
    o.name = "TREE", o.density = 8, o.collision = 0, o.kill = 0;
    list.push_back({"tree.png", Definition(o).Comment("A tree standing in the meadow grass.")});
  }
  {
    ObjectFields o;
    o.name = "FLOWER", o.density = 12, o.collision = 0, o.kill = 0;
    list.push_back({"flower.png", Definition(o).Comment("Wild flowers.")});
  }
  {
    ObjectFields o;
    o.name = "COIN", o.density = 24, o.score = 25, o.sound = "coin.ogg";
    list.push_back({"coin.png", Definition(o).Comment("A coin lost along the paths: 25 points.")});
  }
  return list;
}

std::string LabyrinthBaseText() {
  const std::string side = std::to_string(kLabyrinthBaseSide);
  return "Quorvex labyrinth\r\n" + side + "\r\n" + side + "\r\n\r\n\r\n";
}

}  // namespace gen
