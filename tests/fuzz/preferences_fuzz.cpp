// The preferences reader: any bytes as a preferences file. Whatever it reads, what the game
// would write of it reads back without a problem, to the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> problems;
  const Preferences read = ParsePreferences(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cfg", problems);
  if (problems.size() > kMostPreferenceProblems + 1) std::abort();
  const std::string written = FormatPreferences(read);
  std::vector<std::string> again;
  if (FormatPreferences(ParsePreferences(written, "fuzz.cfg", again)) != written || !again.empty()) std::abort();
  return 0;
}
