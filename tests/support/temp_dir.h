// A scratch directory for a test, removed afterwards, with helpers to write files into it.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Full path of a name inside the directory (with "/" separators).
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Writes bytes to a file inside the directory, creating its parent directories.
  std::string Write(const std::string& name, const std::string& bytes) const;
  void MakeDir(const std::string& name) const;

 private:
  std::string path_;
};

// Runs a shell command; returns its exit status and fills output with stdout and stderr.
int RunCommand(const std::string& command, std::string& output);
