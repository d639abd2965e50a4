#include "app/data_lookup.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/harness.h"
#include "core/shutdown.h"
#include "media/files.h"
#include "media/screen.h"

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool HoldsData(const std::string& directory) {
  std::error_code error;
  return fs::is_regular_file(ResolvePath(directory + "DATA/ini.txt"), error);
}

}  // namespace

std::vector<DataPlace> DataPlaces(const DataSearch& search) {
  std::vector<DataPlace> places;
  const std::string base = search.world ? "quorvex/world/" : "quorvex/labyrinth/";
  auto add = [&](const std::string& directory, const std::string& origin) {
    for (const DataPlace& p : places)
      if (p.directory == directory) return;
    places.push_back({directory, origin});
  };
  auto absolute = [](const std::string& dir) { return !dir.empty() && dir[0] == '/'; };

  if (!search.world && !search.currentDirectory.empty()) add(WithSlash(search.currentDirectory), "the current directory");
  std::string dataHome = search.dataHome;
  if (dataHome.empty() && absolute(search.home)) dataHome = WithSlash(search.home) + ".local/share";
  if (absolute(dataHome)) add(WithSlash(dataHome) + base, "XDG_DATA_HOME");
  const std::string dataDirs = search.dataDirs.empty() ? "/usr/local/share:/usr/share" : search.dataDirs;
  for (size_t start = 0; start <= dataDirs.size();) {
    size_t end = dataDirs.find(':', start);
    if (end == std::string::npos) end = dataDirs.size();
    const std::string dir = dataDirs.substr(start, end - start);
    if (absolute(dir)) add(WithSlash(dir) + base, "XDG_DATA_DIRS");
    start = end + 1;
  }
  if (absolute(search.programDirectory)) {
    const std::string beside = fs::path(WithSlash(search.programDirectory) + "../share/" + base).lexically_normal().string();
    add(WithSlash(beside), "beside the program");
  }
  return places;
}

bool EnterInstalledData(bool world, std::string& notFound) {
  DataSearch search;
  search.currentDirectory = CurrentDirectory();
  search.dataHome = Environment("XDG_DATA_HOME");
  search.dataDirs = Environment("XDG_DATA_DIRS");
  search.home = Environment("HOME");
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) search.programDirectory = program.parent_path().string();
  search.world = world;

  const std::vector<DataPlace> places = DataPlaces(search);
  for (const DataPlace& place : places) {
    if (!HoldsData(place.directory)) continue;
    if (place.directory == WithSlash(search.currentDirectory) || ::chdir(place.directory.c_str()) == 0) return true;
  }
  notFound = "No game data found. DATA/ini.txt was looked for in:\n";
  for (const DataPlace& place : places) notFound += "  " + place.directory + " (" + place.origin + ")\n";
  notFound += "Start the game with --data DIR, DIR being a base directory that holds DATA/ini.txt.";
  return false;
}

void ChooseBaseDirectory() {
  if (!harnessOptions.dataDirectory.empty()) return;
  std::string text;
  if (EnterInstalledData(harnessOptions.world, text)) return;
  std::fprintf(stderr, "quorvex: %s\n", text.c_str());
  std::fflush(stderr);
  if (!harnessOptions.fast) ShowMessageBox("ERROR ", text);
  ReleaseServices();
  EndProgram(1);
}
