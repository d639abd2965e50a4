// The folders of src/ are layers: each includes only the folders below it. The order, top to
// bottom, is written here once; the README's layout section shows the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kLayers = {"map", "app", "ui", "game", "world", "data", "core", "media"};

// The media headers the layers above may include: the platform's contract. The rest of media/
// is its own (internal.h, video_internal.h, handles.h) or for tests only (probes.h).
const std::vector<std::string> kMediaContract = {"media/blending.h", "media/clock.h",        "media/files.h",
                                                 "media/image_codecs.h", "media/input.h",  "media/process.h",
                                                 "media/screen.h",   "media/sound.h",        "media/text.h",
                                                 "media/unpack.h"};

struct Include {
  std::string file;    // src/game/player.cpp
  std::string folder;  // the folder the file is in
  std::string target;  // the folder it includes from
  int line = 0;
  std::string header;  // game/player.h
};

// What an include line names after `#include` and the opening character (`"` or `<`), or "".
std::string Included(const std::string& line, char open) {
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '#') return "";
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line.compare(i, 7, "include") != 0) return "";
  i = line.find_first_not_of(" \t", i + 7);
  if (i == std::string::npos || line[i] != open) return "";
  return line.substr(i + 1);
}

// Every `#include "folder/..."` of the source files under src/<folder>/.
std::vector<Include> ReadIncludes(const std::filesystem::path& src) {
  std::vector<Include> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::filesystem::path relative = std::filesystem::relative(entry.path(), src);
    if (relative.begin() == relative.end() || std::next(relative.begin()) == relative.end()) continue;  // src/main.cpp
    std::ifstream in(entry.path());
    std::string text;
    for (int line = 1; std::getline(in, text); line++) {
      const std::string name = Included(text, '"');
      const size_t slash = name.find('/');
      if (slash != std::string::npos && slash < name.find('"'))
        found.push_back({"src/" + relative.generic_string(), relative.begin()->string(), name.substr(0, slash), line,
                         name.substr(0, name.find('"'))});
    }
  }
  return found;
}

int Rank(const std::string& folder) {
  const auto at = std::find(kLayers.begin(), kLayers.end(), folder);
  return at == kLayers.end() ? -1 : static_cast<int>(at - kLayers.begin());
}

// One line per include that points at a folder above its own (or at a folder not in the order).
std::vector<std::string> UpwardIncludes(const std::vector<Include>& includes) {
  std::vector<std::string> wrong;
  for (const Include& i : includes) {
    const int from = Rank(i.folder), to = Rank(i.target);
    if (from < 0)
      wrong.push_back(i.file + ": folder " + i.folder + " is not in the order of layers");
    else if (to < 0)
      wrong.push_back(i.file + ":" + std::to_string(i.line) + ": includes " + i.target + ", not in the order of layers");
    else if (to < from)
      wrong.push_back(i.file + ":" + std::to_string(i.line) + ": " + i.folder + " includes " + i.target + ", a layer above it");
  }
  return wrong;
}

// One line per include of a media header outside the contract from a folder above media/.
std::vector<std::string> MediaIncludesBeyondTheContract(const std::vector<Include>& includes) {
  std::vector<std::string> wrong;
  for (const Include& i : includes)
    if (i.folder != "media" && i.target == "media" &&
        std::find(kMediaContract.begin(), kMediaContract.end(), i.header) == kMediaContract.end())
      wrong.push_back(i.file + ":" + std::to_string(i.line) + ": includes " + i.header + ", which is not for the layers above");
  return wrong;
}

TEST(SourceLayers, NoFolderIncludesAFolderAboveIt) {
  const std::vector<Include> includes = ReadIncludes(std::filesystem::path(QUORVEX_SOURCE_DIR) / "src");
  ASSERT_GT(includes.size(), 100u) << "the include lines of src/ were not found";
  std::string report;
  for (const std::string& line : UpwardIncludes(includes)) report += line + "\n";
  EXPECT_TRUE(report.empty()) << "allowed, top to bottom: map, app, ui, game, world, data, core, media\n" << report;
}

TEST(SourceLayers, TheCheckCatchesUpwardAndUnknownIncludes) {
  const std::vector<Include> planted = {{"src/game/a.cpp", "game", "ui", 3, "ui/hud.h"},
                                        {"src/core/b.cpp", "core", "world", 4, "world/tile_map.h"},
                                        {"src/tools/c.cpp", "tools", "media", 1, "media/screen.h"},
                                        {"src/ui/d.cpp", "ui", "game", 2, "game/player.h"},
                                        {"src/media/e.cpp", "media", "media", 2, "media/screen.h"}};
  const std::vector<std::string> wrong = UpwardIncludes(planted);
  ASSERT_EQ(wrong.size(), 3u);
  EXPECT_EQ(wrong[0], "src/game/a.cpp:3: game includes ui, a layer above it");
  EXPECT_EQ(wrong[1], "src/core/b.cpp:4: core includes world, a layer above it");
  EXPECT_EQ(wrong[2], "src/tools/c.cpp: folder tools is not in the order of layers");
}

TEST(SourceLayers, TheLayersAboveIncludeOnlyTheMediaContract) {
  const std::vector<Include> includes = ReadIncludes(std::filesystem::path(QUORVEX_SOURCE_DIR) / "src");
  std::string report;
  for (const std::string& line : MediaIncludesBeyondTheContract(includes)) report += line + "\n";
  EXPECT_TRUE(report.empty()) << report;

  const std::vector<Include> planted = {{"src/game/a.cpp", "game", "media", 3, "media/probes.h"},
                                        {"src/app/b.cpp", "app", "media", 4, "media/video_internal.h"},
                                        {"src/ui/c.cpp", "ui", "media", 5, "media/screen.h"},
                                        {"src/media/d.cpp", "media", "media", 6, "media/probes.h"}};
  const std::vector<std::string> wrong = MediaIncludesBeyondTheContract(planted);
  ASSERT_EQ(wrong.size(), 2u);
  EXPECT_EQ(wrong[0], "src/game/a.cpp:3: includes media/probes.h, which is not for the layers above");
  EXPECT_EQ(wrong[1], "src/app/b.cpp:4: includes media/video_internal.h, which is not for the layers above");
}

// The platform and the decoders (of images, sounds and packed data) stay behind the media layer;
// the readers of Tiled's XML and JSON, format libraries that decode nothing, stay in the map tool.
TEST(SourceLayers, OnlyTheMediaLayerIncludesSdlOrADecoderAndOnlyTheMapToolItsFormats) {
  struct Rule {
    const char* folder;  // the one folder allowed these headers
    std::vector<std::string> headers;
  };
  const Rule rules[] = {{"media/", {"SDL", "png.h", "jpeglib.h", "tiffio.h", "vorbis/", "zlib.h", "zstd.h"}},
                        {"map/", {"pugixml", "nlohmann/", "tinyxml2"}}};
  const std::filesystem::path src = std::filesystem::path(QUORVEX_SOURCE_DIR) / "src";
  std::string report;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = std::filesystem::relative(entry.path(), src).generic_string();
    std::ifstream in(entry.path());
    std::string text;
    for (int line = 1; std::getline(in, text); line++) {
      const std::string name = Included(text, '<');
      for (const Rule& rule : rules)
        for (const std::string& header : rule.headers)
          if (name.rfind(header, 0) == 0 && relative.rfind(rule.folder, 0) != 0)
            report += "src/" + relative + ":" + std::to_string(line) + ": " + text + " (only " + rule.folder + " may)\n";
    }
  }
  EXPECT_TRUE(report.empty()) << report;
}

}  // namespace
