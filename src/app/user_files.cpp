#include "app/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

std::string XdgDirectory(const char* name, const char* fallback, const std::function<const char*(const char*)>& env) {
  auto get = [&](const char* variable) -> const char* { return env ? env(variable) : std::getenv(variable); };
  const char* value = get(name);
  if (value && value[0] == '/') return value;
  const char* home = get("HOME");
  if (!home || home[0] != '/') return "";
  std::string path = home;
  if (path.back() != '/') path += '/';
  return path + fallback;
}

namespace {

// Makes every missing directory of the path, each private to the user.
bool MakeDirectories(const std::filesystem::path& directory, std::string& error) {
  std::error_code code;
  if (directory.empty() || std::filesystem::is_directory(directory, code)) return true;
  if (!MakeDirectories(directory.parent_path(), error)) return false;
  if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
    error = "cannot make the directory " + directory.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error) {
  const std::filesystem::path target(path);
  if (!MakeDirectories(target.parent_path(), error)) return false;
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    error = std::string("cannot make a file beside it: ") + std::strerror(errno);
    return false;
  }
  ::fchmod(fd, 0644);
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool whole = written == text.size() && ::fsync(fd) == 0;
  const int savedErrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!whole || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    error = std::strerror(whole && closed ? errno : savedErrno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

void ReadLinesBounded(std::FILE* file, size_t maxLine,
                      const std::function<void(int32_t number, const std::string& line, bool tooLong)>& each) {
  std::string line;
  bool tooLong = false, afterCr = false, any = false;
  int32_t number = 0;
  auto finish = [&]() {
    each(++number, tooLong ? std::string() : line, tooLong);
    line.clear();
    tooLong = false;
    any = false;
  };
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    for (size_t i = 0; i < got; i++) {
      const char c = buffer[i];
      if (afterCr) {
        afterCr = false;
        if (c == '\n') continue;
      }
      if (c == '\n' || c == '\r') {
        afterCr = c == '\r';
        finish();
        continue;
      }
      any = true;
      if (tooLong) continue;
      if (line.size() >= maxLine) {
        tooLong = true;
        line.clear();
        line.shrink_to_fit();
        continue;
      }
      line += c;
    }
  }
  if (any) finish();
}
