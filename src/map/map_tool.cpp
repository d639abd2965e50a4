#include "map/map_tool.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/data_lookup.h"
#include "app/main_loop.h"
#include "core/error_report.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "game/level.h"
#include "game/level_survey.h"
#include "map/map_files.h"
#include "map/png_map.h"
#include "map/preview.h"
#include "map/tiled_map.h"
#include "media/clock.h"
#include "media/files.h"
#include "media/image_codecs.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"
#include "world/tile_map.h"
#include "world/world_map.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0, kRefused = 1, kBadCommandLine = 2;
constexpr size_t kLargestInput = size_t{256} << 20;

// The file the tool writes or reads: its absolute path (taken from the directory the tool was
// started in) and its extension, which chooses the format.
struct Target {
  fs::path path;           // absolute
  std::string extension;   // ".png", ".tmx" or ".tmj", lower case
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

void Say(const std::string& text) { std::fprintf(stderr, "quorvex-map: %s\n", text.c_str()); }

// Into the base directory (found as the game finds it), its configuration read and the media
// that maps and levels use loaded, without a display or sound.
bool OpenBase(const MapCommand& command) {
  if (!command.dataDirectory.empty()) {
    if (::chdir(command.dataDirectory.c_str()) != 0) {
      Say(command.dataDirectory + ": there is no such directory (give the base directory, the one that holds DATA/)");
      return false;
    }
  } else {
    std::string notFound;
    if (!EnterInstalledData(command.world, notFound)) {
      Say(notFound);
      return false;
    }
  }
  ResetAllState();
  SetErrorBoxEnabled(false);
  SetSoundRefusalsQuiet(true);
  SetFastMode(true);  // no pacing of the progress bar's frames
  baseDirectory = CurrentDirectory();
  if (!ReadSettingsFile(baseDirectory + "DATA\\ini.txt")) {
    Say(baseDirectory + "DATA/ini.txt: there is no configuration file (give the base directory, the one that holds DATA/)");
    return false;
  }
  tileMap.Create(kMostMapCells, kMostMapCells);
  // As start-up loads them: tile graphics (magenta keyed), then the objects (white keyed).
  LoadTopographyImages();
  LoadObjectDefinitions();
  LoadMusicList();
  return true;
}

std::string WorldBase() { return settings.APPENTRY + settings.APPSTART; }
std::string Shown(const std::string& path) {
  const std::string resolved = ResolvePath(path);
  return resolved.rfind(baseDirectory, 0) == 0 ? resolved.substr(baseDirectory.size()) : resolved;
}

// The tile directory's tile names, and the graphic each names.
struct TileFiles {
  std::vector<std::string> names;  // sorted as the directory lists them
  std::set<std::string> known;
};

TileFiles ListTileFiles() {
  TileFiles files;
  const int32_t listing = ListDirectory(-1, TileDirectory(), "*");
  while (listing != 0 && NextEntry(listing) != 0)
    if (EntryType(listing) == kEntryFile && IsTileName(EntryName(listing))) files.names.push_back(EntryName(listing));
  EndListing(listing);
  files.known.insert(files.names.begin(), files.names.end());
  return files;
}

// The graphic a tile file names, read as the game reads tile files, onto a fresh cell.
std::string TileGraphic(const std::string& name) {
  TileCell* cell = tileMap.Find(0, 0);
  *cell = TileCell{};
  LoadNamedTile(0, 0, name);
  const std::string graphic = cell->gfxName;
  *cell = TileCell{};
  return graphic;
}

int32_t TileSide() { return std::max(1, RoundHalfEven(std::max(gameState.tileWidth, gameState.tileHeight))); }

ExportTileset MakeTileset(const TileFiles& files, const fs::path& tilesetDirectory) {
  ExportTileset tileset;
  tileset.name = settings.APPSTART.empty() ? "tiles" : settings.APPSTART;
  tileset.tileWidth = tileset.tileHeight = TileSide();
  for (const std::string& name : files.names) {
    TilesetEntry entry;
    entry.code = name;
    const std::string graphic = TileGraphic(name);
    for (const TopographyImage& image : topographyImages)
      if (image.fileName == graphic && ImageExists(image.sprite)) {
        entry.image = fs::path(ResolvePath(image.path)).lexically_normal().lexically_relative(tilesetDirectory).generic_string();
        entry.width = static_cast<int32_t>(image.width);
        entry.height = static_cast<int32_t>(image.height);
        break;
      }
    tileset.tiles.push_back(entry);
  }
  return tileset;
}

// The world as the game loads it (drawn, so every cell reads its tile file).
bool LoadWorldMap() {
  if (!IsRegularFile(WorldBase() + ".ai42")) {
    Say(Shown(WorldBase() + ".ai42") + ": there is no world map (APPENTRY + APPSTART + .ai42 names it)");
    return false;
  }
  tileMap.Create(kMostMapCells, kMostMapCells);
  gameState.drawWorld = 1;
  LoadWorld();
  return true;
}

bool WritePictureWhole(const fs::path& path, int32_t width, int32_t height, const std::vector<uint8_t>& pixels, bool alpha) {
  const std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".new")).string();
  const bool written = alpha ? WritePngRgba(temporary, width, height, pixels.data()) : WritePngRgb(temporary, width, height, pixels.data());
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

int ExportPng(const Target& out) {
  MapCells cells;
  ReadCellTexts(WorldBase() + ".ai42", cells);
  for (int32_t x = 0; x < cells.columns; x++)
    for (int32_t y = 0; y < cells.rows; y++) cells.opacity[cells.Index(x, y)] = tileMap.Find(x, y)->alpha;
  std::vector<uint8_t> rgba;
  std::string refusal;
  if (!MapPicture(cells, rgba, refusal)) {
    Say(Shown(WorldBase() + ".ai42") + ": " + refusal + "; nothing written");
    return kRefused;
  }
  if (!WritePictureWhole(out.path, cells.columns, cells.rows, rgba, true)) {
    Say(out.path.string() + ": cannot be written");
    return kRefused;
  }
  std::printf("%s: %d x %d cells, one pixel a cell\n", out.path.c_str(), cells.columns, cells.rows);
  return kDone;
}

int ExportTiled(const Target& out) {
  const fs::path tilesetPath = fs::path(out.path).replace_extension(out.extension == ".tmx" ? ".tsx" : ".tsj");
  const ExportTileset tileset = MakeTileset(ListTileFiles(), out.path.parent_path());
  if (!LoadWorldMap()) return kRefused;
  std::map<std::string, uint32_t> ids;
  for (size_t id = 0; id < tileset.tiles.size(); id++) ids[tileset.tiles[id].code] = static_cast<uint32_t>(id) + 1;
  ExportMap map;
  map.columns = gameState.mapWidth + 1;
  map.rows = gameState.mapHeight + 1;
  map.tilesetSource = tilesetPath.filename().string();
  bool translucent = false;
  for (int32_t y = 0; y < map.rows; y++)
    for (int32_t x = 0; x < map.columns; x++) {
      const TileCell* cell = tileMap.Find(x, y);
      const auto id = ids.find(cell->tileName);
      if (!cell->tileName.empty() && id == ids.end()) {
        Say(Shown(WorldBase() + ".ai42") + ": cell (" + std::to_string(x) + ", " + std::to_string(y) + ") names the tile \"" +
            cell->tileName + "\", which has no tile file in " + Shown(TileDirectory()) + " (a Tiled tile is a tile file); nothing written");
        return kRefused;
      }
      if (cell->alpha < 0 || cell->alpha > 255) {
        Say(Shown(WorldBase() + ".red") + ": cell (" + std::to_string(x) + ", " + std::to_string(y) + ") has the opacity " +
            std::to_string(cell->alpha) + ", not 0..255; nothing written");
        return kRefused;
      }
      map.tiles.push_back(cell->tileName.empty() ? 0 : id->second);
      map.opacity.push_back(cell->alpha);
      translucent = translucent || cell->alpha != 255;
    }
  const fs::path opacityPath = fs::path(out.path).replace_extension("").string() + "-opacity.png";
  if (translucent) map.opacityImage = opacityPath.filename().string();
  const bool tmx = out.extension == ".tmx";
  const bool written =
      WriteFileWhole(tilesetPath.string(), tmx ? TsxText(tileset) : TsjText(tileset)) &&
      (!translucent || WritePictureWhole(opacityPath, tileset.tileWidth * 16, tileset.tileHeight * 16,
                                         OpacityTilesPicture(tileset.tileWidth, tileset.tileHeight), false)) &&
      WriteFileWhole(out.path.string(), tmx ? TmxText(map, tileset) : TmjText(map, tileset));
  if (!written) {
    Say(out.path.string() + ": cannot be written");
    return kRefused;
  }
  std::printf("%s: %d x %d cells, tileset %s with %zu tiles and %zu joined families%s\n", out.path.c_str(), map.columns,
              map.rows, tilesetPath.filename().c_str(), tileset.tiles.size(), JoinFamilies(tileset).size(),
              translucent ? ", opacities on the hidden layer \"opacity\"" : "");
  return kDone;
}

int Export(const Target& out) {
  if (out.extension == ".png") return LoadWorldMap() ? ExportPng(out) : kRefused;
  return ExportTiled(out);
}

bool ReadText(const fs::path& path, std::string& text) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path.string(), kLargestInput, bytes)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

int Import(const Target& in) {
  const TileFiles files = ListTileFiles();
  MapCells cells;
  std::string refusal;
  bool read = false;
  std::string text;
  if (!ReadText(in.path, text)) {
    Say(in.path.string() + ": cannot be read");
    return kRefused;
  }
  if (in.extension == ".png") {
    read = ReadPngMap(std::vector<uint8_t>(text.begin(), text.end()), files.known, cells, refusal);
    if (!read) refusal = in.path.string() + ": " + refusal;
  } else {
    const fs::path directory = in.path.parent_path();
    const TilesetReader reader = [&directory](const std::string& source, std::string& out) { return ReadText(directory / source, out); };
    TiledMap map;
    read = (in.extension == ".tmx" ? ReadTmx(text, in.path.string(), reader, map, refusal)
                                   : ReadTmj(text, in.path.string(), reader, map, refusal)) &&
           TiledCells(map, files.known, cells, refusal);
  }
  if (!read) {
    Say(refusal + "; nothing written");
    return kRefused;
  }
  const std::string cellPath = ResolvePath(WorldBase() + ".ai42"), valuePath = ResolvePath(WorldBase() + ".red");
  std::string error;
  if (!WriteMapFiles(cells, cellPath, valuePath, error)) {
    Say(error);
    return kRefused;
  }
  std::printf("%s and %s: %d x %d cells from %s\n", Shown(cellPath).c_str(), Shown(valuePath).c_str(), cells.columns, cells.rows,
              in.path.filename().c_str());
  return kDone;
}

bool PrepareLabyrinth() {
  if (!ReadLabyrinthBase(settings.SELFCREATEBASE)) {
    Say(Shown(settings.SELFCREATEBASE) + ": the labyrinth's base file cannot be opened (SELFCREATEBASE names it)");
    return false;
  }
  return true;
}

int Preview(const MapCommand& command, const Target& out) {
  const int32_t level = command.level > 0 ? command.level : (settings.USESELFCREATEBASE == 1 ? 1 : 0);
  PreviewContent content;
  if (level > 0) {
    if (!PrepareLabyrinth()) return kRefused;
    const LevelFigures figures = BuildAndMeasureLevel(level);
    if (level != 1) LoadPlayerSprite();  // the first level's set-up loads it; a game has it by the later ones
    content = {figures.width + 1, figures.height + 1, true, true};
  } else {
    if (!LoadWorldMap()) return kRefused;
    if (command.objects && IsRegularFile(settings.CURSOR)) LoadPlayerSprite();
    content = {gameState.mapWidth + 1, gameState.mapHeight + 1, command.objects, command.objects};
  }
  const PreviewPicture picture = DrawPreview(content);
  if (!WritePictureWhole(out.path, picture.width, picture.height, picture.rgb, false)) {
    Say(out.path.string() + ": cannot be written");
    return kRefused;
  }
  std::printf("%s: %s, %d x %d cells at %d pixels a cell\n", out.path.c_str(),
              level > 0 ? ("labyrinth level " + std::to_string(level)).c_str() : "the world map", content.columns, content.rows,
              picture.cellPixels);
  return kDone;
}

int Levels(const MapCommand& command) {
  if (!PrepareLabyrinth()) return kRefused;
  for (int32_t level = 1; level <= command.count; level++) {
    const LevelFigures f = BuildAndMeasureLevel(level);
    std::string line = "level " + std::to_string(f.level) + ": size " + std::to_string(f.width) + " x " + std::to_string(f.height) +
                       ", floor cells " + std::to_string(f.floorCells) + ", tiles left " + std::to_string(f.tilesLeft) + ", clock " +
                       std::to_string(f.clockSeconds) + " s";
    for (const std::string& warning : LevelWarnings(f)) line += "; warning: " + warning;
    std::printf("%s\n", line.c_str());
  }
  return kDone;
}

bool WholeNumber(const std::string& text, int32_t low, int32_t high, int32_t& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoi(text);
  return value >= low && value <= high;
}

}  // namespace

bool ParseMapCommand(const std::vector<std::string>& args, MapCommand& command, std::string& error) {
  command = MapCommand{};
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return error = a + " needs a value", false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") command.help = true;
    else if (a == "--version") command.version = true;
    else if (a == "--world") command.world = true;
    else if (a == "--objects") command.objects = true;
    else if (a == "--data") {
      if (!value(command.dataDirectory)) return false;
    } else if (a == "--level" || a == "--count") {
      if (!value(v)) return false;
      int32_t& target = a == "--level" ? command.level : command.count;
      if (!WholeNumber(v, 1, 100000, target)) return error = a + " takes a number from 1 to 100000", false;
    } else if (!a.empty() && a[0] == '-') {
      return error = "unknown option " + a, false;
    } else if (command.command.empty()) {
      command.command = a;
    } else if (command.file.empty()) {
      command.file = a;
    } else {
      return error = "one file at most: " + a + " is one too many", false;
    }
  }
  if (command.help || command.version) return true;
  static const std::set<std::string> kCommands = {"export", "import", "preview", "levels"};
  if (!kCommands.count(command.command))
    return error = command.command.empty() ? "no command given (export, import, preview or levels)" : "unknown command " + command.command, false;
  if (command.world && !command.dataDirectory.empty()) return error = "--world and --data each choose the data: give one", false;
  if (command.command == "levels" ? !command.file.empty() : command.file.empty())
    return error = command.command == "levels" ? "levels takes no file" : command.command + " needs a file", false;
  if (command.command != "preview" && (command.level > 0 || command.objects))
    return error = "--level and --objects belong to preview", false;
  const std::string extension = Lower(fs::path(command.file).extension().string());
  if (command.command == "preview" && extension != ".png") return error = "preview writes a .png file", false;
  if ((command.command == "export" || command.command == "import") && extension != ".png" && extension != ".tmx" && extension != ".tmj")
    return error = command.command + " takes a .png, .tmx or .tmj file", false;
  return true;
}

std::string MapHelpText() {
  return "Usage: quorvex-map COMMAND [--data DIR | --world] ...\n"
         "The world maps and labyrinth levels of a Quorvex base directory, for the people who make them.\n"
         "\n"
         "  export OUT.png        the world map as a picture: one pixel a cell, its red, green and blue\n"
         "                        the cell's three texts, its alpha the cell's opacity\n"
         "  export OUT.tmx        the world map for the Tiled map editor (OUT.tmj: in JSON), with a\n"
         "                        tileset made from the tile directory beside it (OUT.tsx, OUT.tsj)\n"
         "  import IN.png|IN.tmx|IN.tmj\n"
         "                        writes the world map files the game loads (APPENTRY + APPSTART +\n"
         "                        .ai42 and .red) from a picture or a Tiled map, keeping their headers\n"
         "  preview [--level N] [--objects] OUT.png\n"
         "                        a picture of the whole world map (with --objects, also what its tiles\n"
         "                        spawn and the player), or of labyrinth level N as the game builds it\n"
         "  levels [--count N]    one line for each labyrinth level from 1 to N (10): size, floor cells,\n"
         "                        tiles left, clock seconds, and a warning where a level cannot play\n"
         "\n"
         "  --data DIR            the base directory DIR (the one that holds DATA/ini.txt)\n"
         "  --world               the installed world base; without either, the data the game plays\n"
         "  --help, --version\n"
         "\n"
         "Every file is written whole or not at all. Exit status: 0 done, 1 input refused (nothing\n"
         "written), 2 bad command line. man quorvex-map for the whole story.\n";
}

std::string MapVersionText() { return std::string("quorvex-map ") + QUORVEX_VERSION + "\n"; }

int RunMapTool(int argc, char** argv) {
  MapCommand command;
  std::string error;
  if (!ParseMapCommand(std::vector<std::string>(argv + 1, argv + argc), command, error)) {
    Say(error + " (quorvex-map --help lists the commands)");
    return kBadCommandLine;
  }
  if (command.help || command.version) {
    std::fputs((command.help ? MapHelpText() : MapVersionText()).c_str(), stdout);
    return kDone;
  }
  // Files are named relative to the directory the tool was started in.
  Target target;
  if (!command.file.empty()) {
    target.path = (fs::path(CurrentDirectory()) / command.file).lexically_normal();
    target.extension = Lower(target.path.extension().string());
  }
  if (!OpenBase(command)) return kRefused;
  if (command.command == "export") return Export(target);
  if (command.command == "import") return Import(target);
  if (command.command == "preview") return Preview(command, target);
  return Levels(command);
}
