#include "core/line_pairs.h"

#include <algorithm>
#include <cstdint>

#include "media/files.h"

namespace {

// Line numbers of files beyond two thousand million lines stay at the largest.
int32_t LineNumber(int64_t line) { return static_cast<int32_t>(std::min<int64_t>(line, INT32_MAX)); }

}  // namespace

int8_t LowByte(int32_t value) { return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF)); }

int8_t TextToLowByte(const std::string& text) { return LowByte(TextToInteger(text)); }

bool ReadLinePairs(const std::string& path, const PairStore& store, LinePairWatcher* watcher) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  LinePair pair;
  for (int64_t line = 1; !AtEndOfFile(file); line += 2) {
    pair.key = ReadLine(file);
    pair.hasValue = !AtEndOfFile(file);
    pair.value = ReadLine(file);
    pair.keyLine = LineNumber(line);
    pair.valueLine = LineNumber(line + 1);
    const bool stored = store(pair.key, pair.value);
    if (watcher) watcher->Pair(pair, stored);
  }
  CloseTextFile(file);
  return true;
}
