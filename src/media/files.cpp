#include "media/files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "media/handles.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};

struct Listing {
  std::vector<std::pair<std::string, int32_t>> entries;  // name and type
  size_t next = 0;                                         // entry the next NextEntry takes
  int32_t current = -1;                                    // entry last taken, -1 before the first
};

HandleTable<std::unique_ptr<FILE, FileCloser>> files;
HandleTable<Listing> listings;

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); i++)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

// Sorted entry names of a directory, "." and ".." included; false if it cannot be read.
bool ReadDirectory(const std::string& dir, std::vector<std::pair<std::string, int32_t>>& out) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    std::string full = (dir.empty() ? std::string(".") : dir) + "/" + name;
    struct stat st;
    int32_t type = kEntryFile;
    if (::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) type = kEntryDirectory;
    out.emplace_back(std::move(name), type);
  }
  ::closedir(d);
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    const std::string& x = a.first;
    const std::string& y = b.first;
    for (size_t i = 0; i < x.size() && i < y.size(); i++) {
      const char cx = Upper(x[i]), cy = Upper(y[i]);
      if (cx != cy) return static_cast<unsigned char>(cx) < static_cast<unsigned char>(cy);
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return x < y;
  });
  return true;
}

// Wildcard match, letter case ignored: "*" any run, "?" any one character.
bool WildcardMatch(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && Upper(*pattern) == Upper(*name))) {
      pattern++;
      name++;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') pattern++;
  return *pattern == '\0';
}

}  // namespace

std::string NativePath(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string ResolvePath(const std::string& path) {
  const std::string native = NativePath(path);
  if (native.empty() || PathExists(native)) return native;
  // Walk the path level by level, taking each level as it stands where it exists and
  // otherwise the first entry whose name matches it ignoring letter case.
  std::string resolved;
  size_t pos = 0;
  if (native[0] == '/') {
    resolved.push_back('/');  // (assigning "/" trips a false -Wrestrict in GCC 12 with sanitizers)
    pos = 1;
  }
  while (pos <= native.size()) {
    size_t slash = native.find('/', pos);
    if (slash == std::string::npos) slash = native.size();
    const std::string part = native.substr(pos, slash - pos);
    const bool last = slash >= native.size();
    if (!part.empty()) {
      std::string candidate = resolved + part;
      if (!PathExists(candidate) && part != "." && part != "..") {
        std::vector<std::pair<std::string, int32_t>> entries;
        if (ReadDirectory(resolved.empty() ? "." : resolved, entries)) {
          for (const auto& entry : entries) {
            if (SameIgnoringCase(entry.first, part)) {
              candidate = resolved + entry.first;
              break;
            }
          }
        }
      }
      resolved = candidate;
      if (!last) resolved += "/";
    } else if (!last && !resolved.empty() && resolved.back() != '/') {
      resolved += "/";
    }
    pos = slash + 1;
  }
  return resolved;
}

int32_t OpenTextFile(int32_t id, const std::string& path) {
  const std::string resolved = ResolvePath(path);
  if (resolved.empty()) return 0;
  struct stat st;
  if (::stat(resolved.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
  FILE* f = std::fopen(resolved.c_str(), "rb");
  if (!f) return 0;
  return files.Add(id, std::unique_ptr<FILE, FileCloser>(f));
}

bool AtEndOfFile(int32_t file) {
  auto* f = files.Find(file);
  if (!f) return true;
  const int c = std::fgetc(f->get());
  if (c == EOF) return true;
  std::ungetc(c, f->get());
  return false;
}

std::string ReadLine(int32_t file) {
  auto* f = files.Find(file);
  if (!f) return "";
  FILE* fp = f->get();
  std::string line;
  for (;;) {
    const int c = std::fgetc(fp);
    if (c == EOF || c == '\n' || c == '\0') break;
    if (c == '\r') {
      const int next = std::fgetc(fp);
      if (next != '\n' && next != EOF) std::ungetc(next, fp);
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  return line;
}

void CloseTextFile(int32_t file) { files.Remove(file); }

int32_t ListDirectory(int32_t id, const std::string& directory, const std::string& pattern) {
  std::string dir = ResolvePath(directory);
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  Listing listing;
  std::vector<std::pair<std::string, int32_t>> all;
  if (!ReadDirectory(dir, all)) return 0;
  const bool everything = pattern.empty() || pattern == "*.*" || pattern == "*";
  for (auto& entry : all)
    if (everything || WildcardMatch(pattern.c_str(), entry.first.c_str())) listing.entries.push_back(std::move(entry));
  return listings.Add(id, std::move(listing));
}

int32_t NextEntry(int32_t listing) {
  Listing* l = listings.Find(listing);
  if (!l || l->next >= l->entries.size()) {
    if (l) l->current = -1;
    return 0;
  }
  l->current = static_cast<int32_t>(l->next++);
  return 1;
}

std::string EntryName(int32_t listing) {
  Listing* l = listings.Find(listing);
  if (!l || l->current < 0) return "";
  return l->entries[static_cast<size_t>(l->current)].first;
}

int32_t EntryType(int32_t listing) {
  Listing* l = listings.Find(listing);
  if (!l || l->current < 0) return 0;
  return l->entries[static_cast<size_t>(l->current)].second;
}

void EndListing(int32_t listing) { listings.Remove(listing); }

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (buffer.size() > (1u << 20)) return "./";
    buffer.resize(buffer.size() * 2);
  }
  std::string dir = buffer.data();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

void CloseAllFiles() {
  files.Clear();
  listings.Clear();
}
