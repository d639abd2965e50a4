#include "map/map_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "media/files.h"
#include "media/text.h"
#include "world/world_map.h"

void MapCells::Resize(int32_t columnCount, int32_t rowCount) {
  columns = columnCount;
  rows = rowCount;
  const size_t count = static_cast<size_t>(columns) * static_cast<size_t>(rows);
  texts.assign(count, {});
  opacity.assign(count, 255);
}

std::array<std::string, 3> SplitTileName(const std::string& name) {
  if (name.size() == 9 && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return {name.substr(0, 3), name.substr(3, 3), name.substr(6, 3)};
  return {name, "", ""};
}

bool ReadCellTexts(const std::string& path, MapCells& cells) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  std::string header[5];
  for (std::string& line : header) line = ReadLine(file);
  const int32_t width = TextToInteger(header[1]), height = TextToInteger(header[2]);
  const int32_t lastColumn = std::clamp(width, 0, kMaxWorldSide), lastRow = std::clamp(height, 0, kMaxWorldSide);
  cells.Resize(lastColumn + 1, lastRow + 1);
  // The game's order: column by column with the file's own height, at least one cell.
  int64_t x = 0, y = 0;
  do {
    std::array<std::string, 3> texts;
    for (std::string& text : texts) text = ReadLine(file);
    if (x <= lastColumn && y <= lastRow) cells.texts[cells.Index(static_cast<int32_t>(x), static_cast<int32_t>(y))] = texts;
    if (++y > height) {
      x++;
      y = 0;
    }
  } while (!AtEndOfFile(file) && x <= width);
  CloseTextFile(file);
  return true;
}

bool WriteFileWhole(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  if (target.parent_path().empty()) temporary = "." + target.filename().string() + ".XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return false;
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (!file) {
    ::close(descriptor);
    std::remove(temporary.c_str());
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = std::fflush(file) == 0 && ok;
  ok = ::fsync(::fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  // mkstemp makes the file for its owner only; a map is data like any other file.
  ok = ok && ::chmod(temporary.c_str(), 0644) == 0;
  ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

namespace {

// Lines 1, 4 and 5 of an existing file, and the line end it uses.
struct Header {
  std::string lines[3];
  std::string end = "\r\n";
};

Header ReadHeader(const std::string& path, const std::string& title, const std::string& about) {
  Header header{{title, about, ""}, "\r\n"};
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, size_t{64} << 20, bytes)) return header;
  const auto end = std::find_if(bytes.begin(), bytes.end(), [](uint8_t c) { return c == '\r' || c == '\n'; });
  if (end != bytes.end()) header.end = (*end == '\r' && end + 1 != bytes.end() && end[1] == '\n') ? "\r\n" : std::string(1, static_cast<char>(*end));
  const int32_t file = OpenTextFile(-1, path);
  std::string lines[5];
  for (std::string& line : lines) line = ReadLine(file);
  CloseTextFile(file);
  header.lines[0] = lines[0];
  header.lines[1] = lines[3];
  header.lines[2] = lines[4];
  return header;
}

std::string HeaderText(const Header& header, const MapCells& cells) {
  const std::string& n = header.end;
  return header.lines[0] + n + std::to_string(cells.columns - 1) + n + std::to_string(cells.rows - 1) + n + header.lines[1] + n +
         header.lines[2] + n;
}

}  // namespace

MapFileTexts MapFilesFor(const MapCells& cells, const std::string& cellPath, const std::string& valuePath) {
  const Header cellHeader = ReadHeader(cellPath, "world map", "cells in column order, each as three parts of its colour code");
  const Header valueHeader = ReadHeader(valuePath, "world map", "opacity of every cell, in column order");
  MapFileTexts out;
  out.cells = HeaderText(cellHeader, cells);
  out.values = HeaderText(valueHeader, cells);
  out.cells.reserve(out.cells.size() + cells.texts.size() * 15);
  out.values.reserve(out.values.size() + cells.texts.size() * 5);
  for (size_t i = 0; i < cells.texts.size(); i++) {
    for (const std::string& text : cells.texts[i]) out.cells += text + cellHeader.end;
    out.values += std::to_string(cells.opacity[i]) + valueHeader.end;
  }
  return out;
}

bool WriteMapFiles(const MapCells& cells, const std::string& cellPath, const std::string& valuePath, std::string& error) {
  const MapFileTexts texts = MapFilesFor(cells, cellPath, valuePath);
  // Both are written to temporary files first, so that a failure leaves both as they were.
  const std::filesystem::path cellTarget(cellPath), valueTarget(valuePath);
  const std::string cellTemporary = cellPath + ".new", valueTemporary = valuePath + ".new";
  if (!WriteFileWhole(cellTemporary, texts.cells) || !WriteFileWhole(valueTemporary, texts.values)) {
    std::remove(cellTemporary.c_str());
    std::remove(valueTemporary.c_str());
    error = "cannot write " + cellPath + " and " + valuePath;
    return false;
  }
  if (std::rename(cellTemporary.c_str(), cellPath.c_str()) != 0 || std::rename(valueTemporary.c_str(), valuePath.c_str()) != 0) {
    std::remove(cellTemporary.c_str());
    std::remove(valueTemporary.c_str());
    error = "cannot replace " + cellPath + " or " + valuePath;
    return false;
  }
  return true;
}
