// The configuration file DATA\ini.txt: pairs of lines, a key line then a value line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/line_pairs.h"

// One field per key, named by the key. Paths are already joined to the base directory.
struct Settings {
  std::string SOUNDFXPATH;      // path: directory of the sound effects (*.ogg)
  std::string INGAMEMUSIC;      // directory of the in-game music (*.ogg)
  std::string EGFXPATH;         // path: images floating over the game (*.png)
  int32_t EGFXMAX = 50;         // each of them is loaded EGFXMAX + 1 times
  std::string SCREGFXPATH;      // images floating over the title screen
  int32_t SCREGFXMAX = 50;
  std::string FONTPATH;         // path: directory of the glyph images
  std::string FONTSYSTEM;       // path: the font's character-list file
  int8_t WINDOWMODE = 0;        // flag: sets gameState.drawWorld
  int8_t USESPRITE3D = 0;       // flag: sets gameState.drawWorld as well
  int32_t MULTITASK = 0;        // milliseconds slept after every frame
  std::string APPNAME;          // window title
  float RESOLUTION = -1.0f;     // tile size in pixels (also stored in tileWidth and tileHeight)
  int8_t USEEXTENDEDTOPO = 0;   // flag: runs the edge pass of labyrinth generation
  std::string APPENTRY;         // first part of the world map path
  std::string APPSTART;         // map or level set name
  std::string RGBCODEPATH;      // directory holding one tile directory per APPSTART
  std::string TOPOGFX;          // path: directory of the topography images
  std::string GFXCODEC;         // image extension with its dot, such as ".png"
  std::string WORLDGFX;         // path: directory of the object images and definitions
  int32_t MAXFOE = 0;           // most foes on a level
  std::string LOADSCREEN;       // credits picture, "#" replaced by a random 0 or 1
  std::string LOADINTROSCREEN;  // title picture
  std::string KESTRAVON1;       // sound of the credits' second page
  std::string KESTRAVON;        // sound of the credits' third page
  float FULLSCREENZOOM = 1.0f;  // fraction of the screen grabbed by the zoom pass and the screens
  int32_t RESBASEW = 1;         // base screen width of the font scale
  std::string CURSOR;           // path: the player's image
  int32_t CURSORSPEED = 0;      // the movement threshold: 255 - the value clamped to 0..255; 0 if absent
  int32_t WORLDRANDOM = 0;      // labyrinth seed
  int32_t MAPSIZE = 1;          // largest labyrinth width and height (-> 1024 above, 32 below 0)
  int32_t WORLDREFRESH = 60;    // frames per timer second, minus one
  std::string SELFCREATEBASE;   // path: the labyrinth base description file
  int8_t USESELFCREATEBASE = 0; // flag: 1 labyrinth mode, else world mode
  int32_t LABSWITCH = 0;        // walkers turn with chance 1 in LABSWITCH + 1
  int8_t SMOOTH = 1;            // flag: bilinear filtering of the zoom pass and game-over screen
  std::string GAMEMODE = "DEFAULT";
  std::string TIMERSOUND;
  std::string DEFTILESOUND;
  std::string FIXEDTILESOUND;
  std::string PINKTILEFIXEDSOUND;
  std::string EXPLOSIONSOUND;
  // The screen the game draws, "WIDTHxHEIGHT", scaled to the window or display that shows it;
  // empty: the desktop's own size.
  std::string SCREENSIZE;

  // Read and stored; nothing in the game uses them.
  std::string SAVEGFX, SAVEEVOLUTION, GFXPATH, TOPO, BASICGFX, SYSTEMCORE, CORENAME, LOGPATH,
      LOGFILE, USELOGFILE, LOADANIM, RESBASEH, VEGIDENSE, USEFULLMATRIX, MULTICORE,
      WORLDTEMPERATURE, VIEW, ENDTIMERSOUND, BOMBPICKUPSOUND, MENUMUSIC, USESCALER;
};

extern Settings settings;

// The directory the game started in, with a trailing separator; paths in settings start with it.
extern std::string baseDirectory;

// Puts every setting back to its default, and forgets the base directory.
void ResetSettings();

// Reads the configuration file, then starts the devices (sprites, quads, keyboard, sound,
// mouse, joystick). A file that cannot be opened is reported (error 0) and ends the program.
void ReadSettings(const std::string& path);

// Reads the configuration file only, without starting any device; a watcher is told of every
// pair. Returns false if the file could not be opened.
bool ReadSettingsFile(const std::string& path, LinePairWatcher* watcher = nullptr);

// Stores the converted value of one key; an unknown key does nothing.
void ApplySetting(const std::string& key, const std::string& value);

// Every key the reader knows, with its kind and what it stores: a text kept as it stands (a
// sound name is a text that names a sound effect by its file name), a path joined to the base
// directory, an integer, a flag (an integer's low 8 bits) or a float.
const KeyTable<Settings>& SettingKeys();

// SCREENSIZE's value as a width and a height ("1280x720", blanks allowed around the numbers and
// the "x"). False when it is not such a pair or a side lies outside 16..8192.
bool ParseScreenSize(const std::string& text, int32_t& width, int32_t& height);

// Starts the devices after the configuration is read.
void StartDevices();
