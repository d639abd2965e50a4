#include "app/best_score.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/harness.h"
#include "app/user_files.h"
#include "ui/menus.h"

namespace {

constexpr size_t kLongestFile = 64 * 1024;

std::string storePath;  // the file of this run's base directory, "" for none
std::string storeBase;
bool failureSaid = false;

void SaveBest(int32_t best) {
  if (storePath.empty()) return;
  std::string error;
  if (WriteWholeFile(storePath, FormatBestScore(storeBase, best), error)) return;
  if (!failureSaid) std::fprintf(stderr, "quorvex: could not save the best score %s: %s\n", storePath.c_str(), error.c_str());
  failureSaid = true;
}

}  // namespace

std::string BestScoreDirectory() {
  if (!harnessOptions.stateDirectory.empty()) return harnessOptions.stateDirectory;
  if (TestHarnessRun()) return "";
  const std::string state = XdgDirectory("XDG_STATE_HOME", ".local/state");
  return state.empty() ? "" : state + "/quorvex";
}

std::string BestScoreFileName(const std::string& canonicalBase) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const unsigned char c : canonicalBase) {
    hash ^= c;
    hash *= 0x100000001B3ull;
  }
  char name[40];
  std::snprintf(name, sizeof name, "best-%016llx.txt", static_cast<unsigned long long>(hash));
  return name;
}

std::string FormatBestScore(const std::string& canonicalBase, int32_t best) {
  return "# Quorvex: the best score played on the base directory below.\n"
         "base = " + canonicalBase + "\n"
         "best = " + std::to_string(best) + "\n";
}

bool ParseBestScore(const std::string& text, const std::string& canonicalBase, int32_t& best) {
  std::istringstream in(text);
  std::string line, base;
  int64_t value = -1;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("base = ", 0) == 0) base = line.substr(7);
    if (line.rfind("best = ", 0) == 0) {
      const std::string digits = line.substr(7);
      if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
      value = std::stoll(digits);
    }
  }
  if (base != canonicalBase || value < 0 || value > 2147483647) return false;
  best = static_cast<int32_t>(value);
  return true;
}

void LoadBestScore(const std::string& baseDirectory) {
  storePath.clear();
  storeBase.clear();
  failureSaid = false;
  bestScoreStore = BestScoreStore{};
  const std::string directory = BestScoreDirectory();
  if (directory.empty()) return;
  std::error_code error;
  std::string base = std::filesystem::canonical(baseDirectory, error).string();
  if (error) return;
  storeBase = base;
  storePath = directory + "/" + BestScoreFileName(base);
  bestScoreStore.kept = true;
  bestScoreStore.save = SaveBest;
  std::ifstream in(storePath, std::ios::binary);
  if (!in) {
    if (errno != ENOENT) std::fprintf(stderr, "quorvex: cannot read the best score %s: %s\n", storePath.c_str(), std::strerror(errno));
    return;
  }
  std::string text(kLongestFile, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  int32_t best = 0;
  if (ParseBestScore(text, base, best))
    bestScoreStore.best = best;
  else
    std::fprintf(stderr, "quorvex: %s holds no best score of %s; it starts again from 0\n", storePath.c_str(), base.c_str());
}
