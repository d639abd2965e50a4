#include "support/temp_dir.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "media/files.h"

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvex-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  // QUORVEX_KEEP_TEST_DIRS=1 keeps the directories (their dumps and screenshots) for a look.
  if (std::getenv("QUORVEX_KEEP_TEST_DIRS")) {
    std::fprintf(stderr, "kept %s\n", path_.c_str());
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::filesystem::path full = std::filesystem::path(path_) / name;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  out << bytes;
  ForgetDirectories();  // the game reads a directory once; the tests change theirs as they go
  return full.string();
}

void TempDir::MakeDir(const std::string& name) const {
  std::filesystem::create_directories(std::filesystem::path(path_) / name);
  ForgetDirectories();
}

int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
