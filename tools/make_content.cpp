// Makes every file of the demo's two base directories: content/labyrinth and content/world.
//
//   make_content CONTENT_DIR [--preview DIR]
//   make_content --icons DIR       the desktop icon, as DIR/hicolor/NxN/apps/quorvex.png
//
// The DATA directory of each base is removed and written anew, so the output depends only on
// this program: the same build gives the same bytes. With --preview, contact sheets of the
// tiles, sprites, font and pictures are written to DIR as well, to look at.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "lib/base_data.h"
#include "lib/canvas.h"
#include "lib/font.h"
#include "lib/icon.h"
#include "lib/music.h"
#include "lib/ogg_writer.h"
#include "lib/pairs.h"
#include "lib/pictures.h"
#include "lib/sounds.h"
#include "lib/sprites.h"
#include "lib/world_map.h"

namespace fs = std::filesystem;
using namespace gen;

namespace {

using Bytes = std::vector<uint8_t>;

// Turns a data path with backslashes into a path under a base directory.
fs::path Under(const fs::path& base, const std::string& dataPath) {
  std::string p = dataPath;
  for (char& c : p)
    if (c == '\\') c = '/';
  return base / p;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make_content: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// Files shared by both bases, made once: path inside the base -> bytes.
using FileSet = std::map<std::string, Bytes>;

void AddPng(FileSet& files, const std::string& dataPath, const Canvas& c, bool alpha, bool avoidBlack) {
  files[dataPath] = c.EncodePng(alpha, avoidBlack);
}

FileSet SharedMedia() {
  FileSet files;
  // The font: one glyph image per file name, and the character list.
  for (char ch : FontCharacters()) {
    const uint8_t code = static_cast<uint8_t>(ch);
    const std::string name = std::string(Layout::kFont) + GlyphBaseName(code) + ".png";
    if (!files.count(name)) AddPng(files, name, DrawGlyph(code), true, false);
  }
  const std::string chars = FontCharacters() + "\r\nThe characters of the screen font, in Windows-1252. Only the first line is read.\r\n";
  files[Layout::kCharList] = Bytes(chars.begin(), chars.end());

  const std::string pictures = Layout::kPictures;
  std::printf("pictures\n");
  AddPng(files, pictures + "TITLE.png", DrawTitlePicture(), false, true);
  AddPng(files, pictures + "LOAD0.png", DrawLoadPicture(0), false, true);
  AddPng(files, pictures + "LOAD1.png", DrawLoadPicture(1), false, true);
  AddPng(files, pictures + "PLAYER.png", DrawSprite(Sprite::Player).Magnified(kLabyrinthMagnification), true, false);
  AddPng(files, std::string(Layout::kTitleGlows) + "spark.png", DrawGlowImage(Glow::Sparkle), false, true);
  AddPng(files, std::string(Layout::kTitleGlows) + "orb.png", DrawGlowImage(Glow::Orb), false, true);
  AddPng(files, std::string(Layout::kGameGlows) + "mote.png", DrawGlowImage(Glow::Mote), false, true);

  std::printf("sound effects\n");
  for (const EffectInfo& e : Effects())
    files[std::string(Layout::kSounds) + e.fileName] = EncodeOgg(MakeEffect(e.effect), 0.4f, e.title);
  const std::pair<const char*, SongPlan> songs[] = {{"menu.ogg", MenuSong()}, {"run.ogg", RunSong()}, {"maze.ogg", MazeSong()}};
  for (const auto& [name, plan] : songs) {
    std::printf("music %s\n", name);
    files[std::string(Layout::kMusic) + name] = EncodeOgg(RenderSong(ComposeSong(plan)), 0.35f, plan.title);
  }
  return files;
}

void WriteObjects(FileSet& files, const std::vector<ObjectSpec>& objects, int magnification) {
  const std::map<std::string, Sprite> sprites = {
      {"coin.png", Sprite::Coin},     {"gem.png", Sprite::Gem},   {"bomb.png", Sprite::Bomb},
      {"clock.png", Sprite::Clock},   {"cherry.png", Sprite::Cherry}, {"spinner.png", Sprite::Spinner},
      {"wisp.png", Sprite::Wisp},     {"tree.png", Sprite::Tree}, {"flower.png", Sprite::Flower},
  };
  for (const ObjectSpec& o : objects) {
    const std::string image = std::string(Layout::kObjects) + o.image;
    AddPng(files, image, DrawSprite(sprites.at(o.image)).Magnified(magnification), true, false);
    const std::string text = o.definition.Text();
    files[image.substr(0, image.size() - 4) + ".dll"] = Bytes(text.begin(), text.end());
  }
}

void AddText(FileSet& files, const std::string& path, const std::string& text) { files[path] = Bytes(text.begin(), text.end()); }

FileSet LabyrinthFiles() {
  FileSet files;
  AddText(files, "DATA\\ini.txt", Configuration(BaseKind::Labyrinth).Text());
  AddText(files, Layout::kLabyrinthBase, LabyrinthBaseText());
  const std::map<std::string, std::pair<LabTile, Edge>> images = {
      {"wall.png", {LabTile::Wall, Edge::None}},        {"wall_e.png", {LabTile::Wall, Edge::East}},
      {"wall_s.png", {LabTile::Wall, Edge::South}},     {"floor.png", {LabTile::Floor, Edge::None}},
      {"green.png", {LabTile::Green, Edge::None}},      {"green_e.png", {LabTile::Green, Edge::East}},
      {"green_s.png", {LabTile::Green, Edge::South}},   {"water.png", {LabTile::Water, Edge::None}},
      {"water_e.png", {LabTile::Water, Edge::East}},    {"water_s.png", {LabTile::Water, Edge::South}},
      {"blue.png", {LabTile::Blue, Edge::None}},        {"fixed_blue.png", {LabTile::FixedBlue, Edge::None}},
      {"pink.png", {LabTile::Pink, Edge::None}},        {"fixed_pink.png", {LabTile::FixedPink, Edge::None}},
      {"dummy.png", {LabTile::Dummy, Edge::None}},
  };
  for (const auto& [name, look] : images)
    AddPng(files, std::string(Layout::kTopo) + name, DrawLabTile(look.first, look.second).Magnified(kLabyrinthMagnification),
           false, true);
  for (const TileSpec& t : LabyrinthTiles()) AddText(files, std::string(Layout::kTiles) + "LAB\\" + t.name, TileFile(t).Text());
  WriteObjects(files, LabyrinthObjects(), kLabyrinthMagnification);
  return files;
}

FileSet WorldFiles() {
  FileSet files;
  AddText(files, "DATA\\ini.txt", Configuration(BaseKind::World).Text());
  AddText(files, Layout::kLabyrinthBase, LabyrinthBaseText());
  const IslandMap island = BuildIsland();
  AddText(files, std::string(Layout::kMaps) + "ISLAND.ai42", CellFileText(island, "Quorvex island"));
  AddText(files, std::string(Layout::kMaps) + "ISLAND.red", ValueFileText(island, "Quorvex island"));
  for (const WorldTile& t : TilesOffered(island)) {
    AddPng(files, std::string(Layout::kTopo) + t.code + ".png", DrawWorldTile(t), false, true);
    TileSpec tile;
    tile.name = t.code;
    tile.image = t.code + ".png";
    tile.collision = Blocks(t.ground) ? 1 : 0;
    if (t.ground == Ground::Grass) tile.children = {"TREE", "FLOWER"};
    if (t.ground == Ground::Meadow) tile.children = {"FLOWER", "COIN"};
    if (t.ground == Ground::Path) tile.children = {"COIN"};
    AddText(files, std::string(Layout::kTiles) + "ISLAND\\" + t.code, TileFile(tile).Text());
  }
  AddPng(files, std::string(Layout::kTopo) + "dummy.png", DrawLabTile(LabTile::Dummy), false, true);
  WriteObjects(files, WorldObjects(), 1);
  return files;
}

void WriteBase(const fs::path& base, const FileSet& shared, const FileSet& own) {
  fs::remove_all(base / "DATA");
  for (const auto& [path, bytes] : shared) WriteBytes(Under(base, path), bytes);
  for (const auto& [path, bytes] : own) WriteBytes(Under(base, path), bytes);
  std::printf("%s: %zu files\n", base.c_str(), shared.size() + own.size());
}

// Contact sheets to look at: tiles and sprites, a font sample, the island, the title with text.
void WritePreviews(const fs::path& dir) {
  fs::create_directories(dir);
  const Color back = Hex(0x101018);
  {
    const LabTile tiles[] = {LabTile::Floor, LabTile::Green, LabTile::Water, LabTile::Wall, LabTile::Blue,
                             LabTile::FixedBlue, LabTile::Pink, LabTile::FixedPink, LabTile::Dummy};
    const Sprite sprites[] = {Sprite::Coin, Sprite::Gem, Sprite::Bomb, Sprite::Clock, Sprite::Cherry,
                              Sprite::Spinner, Sprite::Wisp, Sprite::Player, Sprite::Tree, Sprite::Flower};
    Canvas sheet(10 * 88 + 8, 5 * 88 + 8, back);
    for (int i = 0; i < 9; ++i) sheet.Draw(DrawLabTile(tiles[i]), 8 + i * 88, 8, 2);
    for (int i = 0; i < 3; ++i) {
      sheet.Draw(DrawLabTile(LabTile::Wall, i == 0 ? Edge::None : i == 1 ? Edge::East : Edge::South), 8 + i * 88, 96, 2);
      sheet.Draw(DrawLabTile(LabTile::Green, i == 0 ? Edge::None : i == 1 ? Edge::East : Edge::South), 272 + i * 88, 96, 2);
      sheet.Draw(DrawLabTile(LabTile::Water, i == 0 ? Edge::None : i == 1 ? Edge::East : Edge::South), 536 + i * 88, 96, 2);
    }
    for (int i = 0; i < 10; ++i) {
      sheet.Draw(DrawLabTile(LabTile::Floor), 8 + i * 88, 184, 2);
      Canvas s = DrawSprite(sprites[i]);
      sheet.Draw(s, 8 + i * 88, 184, 2);
      sheet.Draw(DrawLabTile(i % 2 ? LabTile::Pink : LabTile::Blue), 8 + i * 88, 272, 2);
      sheet.Draw(s, 8 + i * 88, 272, 2);
    }
    // A small painted corridor at game size.
    const LabTile row[] = {LabTile::Wall, LabTile::FixedBlue, LabTile::FixedBlue, LabTile::Blue, LabTile::Floor,
                           LabTile::Floor, LabTile::Pink, LabTile::FixedPink, LabTile::Green, LabTile::Water,
                           LabTile::Wall, LabTile::Floor, LabTile::Blue, LabTile::Pink, LabTile::Green,
                           LabTile::Water, LabTile::FixedBlue, LabTile::Wall, LabTile::Floor, LabTile::Green,
                           LabTile::FixedPink, LabTile::Blue};
    for (int i = 0; i < 22; ++i) sheet.Draw(DrawLabTile(row[i]), 8 + i * 40, 360);
    for (int i = 0; i < 22; ++i) sheet.Draw(DrawLabTile(row[(i + 7) % 22]), 8 + i * 40, 400);
    sheet.Draw(DrawSprite(Sprite::Player), 8 + 4 * 40, 360);
    sheet.SavePng((dir / "tiles.png").string(), false);
  }
  {
    const std::string lines[] = {"QUORVEX  SCORE 012500  TIME 42",
                                 "The quick brown fox jumps over the lazy dog.",
                                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789",
                                 "abcdefghijklmnopqrstuvwxyz .,!?:;'-+=()<>%#$",
                                 "&&\xF6 \xE4\xE4\xE4 @@ \" [ ] ** Gr\xFC\xDF" "e M\xE4rz"};
    Canvas sheet(1100, 5 * 40 + 8, back);
    for (int i = 0; i < 5; ++i) sheet.Draw(RenderText(lines[i], back), 4, 4 + i * 40);
    sheet.SavePng((dir / "font.png").string(), false);
  }
  {
    const IslandMap island = BuildIsland();
    Canvas full(island.columns * 10, island.rows * 10, back);
    std::map<std::string, Canvas> cache;
    for (int y = 0; y < island.rows; ++y)
      for (int x = 0; x < island.columns; ++x) {
        const WorldTile t = TileOf(island, x, y);
        auto it = cache.find(t.code);
        if (it == cache.end()) it = cache.emplace(t.code, DrawWorldTile(t)).first;
        for (int py = 0; py < 10; ++py)
          for (int px = 0; px < 10; ++px) full.At(x * 10 + px, y * 10 + py) = it->second.At(px * 4 + 2, py * 4 + 2);
      }
    full.SavePng((dir / "island.png").string(), false);
    Canvas corner(32 * 40, 18 * 40, back);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 32; ++x) {
        const WorldTile t = TileOf(island, x + 30, y + 24);
        corner.Draw(DrawWorldTile(t), x * 40, y * 40);
      }
    corner.SavePng((dir / "island_village.png").string(), false);
    Canvas start(32 * 40, 18 * 40, back);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 32; ++x) start.Draw(DrawWorldTile(TileOf(island, x, y)), x * 40, y * 40);
    start.SavePng((dir / "island_start.png").string(), false);
  }
  {
    Canvas title = DrawTitlePicture();
    Canvas word = RenderText("QUORVEX", Hex(0, 0));
    title.Draw(word, 128, 288, 6);
    Canvas prompt = RenderText("Press SPACE to play", Hex(0, 0));
    title.Draw(prompt, 640 - prompt.Width() / 2, 468);
    Canvas credits = RenderText("(c) the Quorvex team", Hex(0, 0));
    title.Draw(credits, 640 - credits.Width() / 2, 576);
    title.SavePng((dir / "title.png").string(), false);
    for (int v = 0; v < 2; ++v) {
      Canvas load = DrawLoadPicture(v);
      const char* text[] = {"Quorvex", "made by the Quorvex team", "tiles, font, sound and music", "from our own generators"};
      for (int i = 0; i < 4; ++i) {
        Canvas line = RenderText(text[i], Hex(0, 0));
        load.Draw(line, 640 - line.Width() / 2, 216 + i * 72);
      }
      Canvas line = RenderText("Loading...", Hex(0, 0));
      load.Draw(line, 640 - line.Width() / 2, 576);
      load.SavePng((dir / ("load" + std::to_string(v) + ".png")).string(), false);
    }
    Canvas glows(400, 120, Hex(0x202030));
    glows.Draw(DrawGlowImage(Glow::Sparkle), 10, 10, 2);
    glows.Draw(DrawGlowImage(Glow::Orb), 130, 10);
    glows.Draw(DrawGlowImage(Glow::Mote), 230, 10, 2);
    glows.SavePng((dir / "glows.png").string(), false);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_content CONTENT_DIR [--preview DIR]\n       make_content --icons DIR\n");
    return 2;
  }
  if (std::string(argv[1]) == "--icons" && argc >= 3) {
    for (int size : IconSizes()) {
      const std::string side = std::to_string(size);
      WriteBytes(fs::path(argv[2]) / "hicolor" / (side + "x" + side) / "apps" / "quorvex.png", DrawIcon(size).EncodePng(true));
    }
    return 0;
  }
  const fs::path root = argv[1];
  if (argc >= 4 && std::string(argv[2]) == "--preview") {
    WritePreviews(argv[3]);
    return 0;
  }
  const FileSet shared = SharedMedia();
  WriteBase(root / "labyrinth", shared, LabyrinthFiles());
  WriteBase(root / "world", shared, WorldFiles());
  return 0;
}
