#include "media/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <vector>

#include "media/handles.h"
#include "media/internal.h"
#include "media/probes.h"

namespace {

// A line longer than this keeps its beginning; the rest of it is skipped. No data file of the
// game comes near it, and a file of one endless line cannot fill the memory.
constexpr size_t kLongestLine = size_t{1} << 20;

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};

using Entries = std::vector<std::pair<std::string, int32_t>>;  // name and type

struct Listing {
  Entries entries;
  size_t next = 0;      // entry the next NextEntry takes
  int32_t current = -1; // entry last taken, -1 before the first
};

// One directory as read from the disk: its entries sorted by name, letter case ignored, and for
// every name in capitals the first entry that has it.
struct DirectoryContents {
  bool readable = false;
  Entries entries;
  std::unordered_map<std::string, size_t> byName;
  std::unordered_map<std::string, size_t> firstByCapitals;
};

HandleTable<std::unique_ptr<FILE, FileCloser>> files;
HandleTable<Listing> listings;

// The data does not change while the game plays, so every directory is read once for the run;
// a lookup of a missing name then costs no listing.
std::unordered_map<std::string, std::unique_ptr<DirectoryContents>> directoryCache;
// Directory paths as asked ("DATA/rgb/") and as found on the disk ("DATA/RGB/"); only levels
// that exist are kept, so one made later is still found.
std::unordered_map<std::string, std::string> foundDirectories;

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Capitals(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = Upper(c);
  return out;
}

int64_t directoryReads = 0;  // listings taken from the disk

// Sorted entry names of a directory, "." and ".." included; false if it cannot be read.
bool ReadDirectory(const std::string& dir, Entries& out) {
  directoryReads++;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    int32_t type = kEntryFile;
    if (e->d_type == DT_DIR) {
      type = kEntryDirectory;
    } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      const std::string full = (dir.empty() ? std::string(".") : dir) + "/" + name;
      struct stat st;
      if (::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) type = kEntryDirectory;
    }
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

// The contents of a directory (given with or without its trailing "/"), read once.
const DirectoryContents& ContentsOf(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (dir.empty()) dir = ".";
  auto found = directoryCache.find(dir);
  if (found != directoryCache.end()) return *found->second;
  auto contents = std::make_unique<DirectoryContents>();
  contents->readable = ReadDirectory(dir, contents->entries);
  for (size_t i = 0; i < contents->entries.size(); i++) {
    contents->byName.emplace(contents->entries[i].first, i);
    contents->firstByCapitals.emplace(Capitals(contents->entries[i].first), i);
  }
  return *directoryCache.emplace(dir, std::move(contents)).first->second;
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

// Opens a path for reading only when it is a regular file: devices, FIFOs and directories are
// refused before they are opened, and the open itself cannot block.
int OpenRegularFile(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string NativePath(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

namespace {

// Resolves a path as ResolvePath does; `exists` tells whether it names something on the disk.
// A name in a directory already read is looked up in its listing alone, without asking the disk:
// that is what keeps a map of many unknown tile names fast.
std::string Resolve(const std::string& path, bool& exists) {
  const std::string native = NativePath(path);
  exists = false;
  if (native.empty()) return native;
  const size_t lastSlash = native.rfind('/');
  if (lastSlash != std::string::npos && lastSlash > 0 && lastSlash + 1 < native.size()) {
    auto known = foundDirectories.find(native.substr(0, lastSlash));
    const std::string part = native.substr(lastSlash + 1);
    if (known != foundDirectories.end() && part != "." && part != "..") {
      const DirectoryContents& contents = ContentsOf(known->second);
      auto exact = contents.byName.find(part);
      if (exact != contents.byName.end()) {
        exists = true;
        return known->second + part;
      }
      auto match = contents.firstByCapitals.find(Capitals(part));
      exists = match != contents.firstByCapitals.end();
      return known->second + (exists ? contents.entries[match->second].first : part);
    }
  }
  if (PathExists(native)) {
    exists = true;
    return native;
  }
  // Walk the path level by level, taking each level as it stands where it exists and
  // otherwise the first entry whose name matches it ignoring letter case.
  std::string resolved;
  size_t pos = 0;
  if (native[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= native.size()) {
    size_t slash = native.find('/', pos);
    if (slash == std::string::npos) slash = native.size();
    const bool last = slash >= native.size();
    const std::string part = native.substr(pos, slash - pos);
    if (!part.empty()) {
      std::string candidate = resolved + part;
      if (part != "." && part != ".." && !PathExists(candidate)) {
        const DirectoryContents& contents = ContentsOf(resolved.empty() ? "." : resolved);
        auto match = contents.firstByCapitals.find(Capitals(part));
        if (match != contents.firstByCapitals.end()) candidate = resolved + contents.entries[match->second].first;
      }
      resolved = candidate;
      if (!last) resolved += "/";
    } else if (!last && !resolved.empty() && resolved.back() != '/') {
      resolved += "/";
    }
    if (!last && PathExists(resolved)) foundDirectories.emplace(native.substr(0, slash), resolved);
    pos = slash + 1;
  }
  exists = PathExists(resolved);
  return resolved;
}

}  // namespace

std::string ResolvePath(const std::string& path) {
  bool exists = false;
  return Resolve(path, exists);
}

int32_t OpenTextFile(int32_t id, const std::string& path) {
  bool exists = false;
  const std::string resolved = Resolve(path, exists);
  if (!exists) return 0;
  const int fd = OpenRegularFile(resolved);
  if (fd < 0) return 0;
  FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    ::close(fd);
    return 0;
  }
  return files.Add(id, std::unique_ptr<FILE, FileCloser>(f));
}

bool AtEndOfFile(int32_t file) {
  auto* f = files.Find(file);
  if (!f) return true;
  const int c = getc_unlocked(f->get());
  if (c == EOF) return true;
  std::ungetc(c, f->get());
  return false;
}

std::string ReadLine(int32_t file) {
  auto* f = files.Find(file);
  if (!f) return "";
  FILE* fp = f->get();
  std::string line;
  // A text file is read by one thread only, so without the stream's lock: a world map is
  // millions of characters.
  for (;;) {
    const int c = getc_unlocked(fp);
    if (c == EOF || c == '\n' || c == '\0') break;
    if (c == '\r') {
      const int next = getc_unlocked(fp);
      if (next != '\n' && next != EOF) std::ungetc(next, fp);
      break;
    }
    if (line.size() < kLongestLine) line.push_back(static_cast<char>(c));
  }
  return line;
}

void CloseTextFile(int32_t file) { files.Remove(file); }

int32_t ListDirectory(int32_t id, const std::string& directory, const std::string& pattern) {
  std::string dir = ResolvePath(directory);
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  const DirectoryContents& contents = ContentsOf(dir.empty() ? "." : dir);
  if (!contents.readable) return 0;
  Listing listing;
  const bool everything = pattern.empty() || pattern == "*.*" || pattern == "*";
  for (const auto& entry : contents.entries)
    if (everything || WildcardMatch(pattern.c_str(), entry.first.c_str())) listing.entries.push_back(entry);
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

FoundPath FindPath(const std::string& path) {
  FoundPath found;
  auto typeOf = [](const std::string& p) {
    struct stat st;
    if (p.empty() || ::stat(p.c_str(), &st) != 0) return -1;
    return S_ISREG(st.st_mode) ? kEntryFile : S_ISDIR(st.st_mode) ? kEntryDirectory : 0;
  };
  found.path = NativePath(path);
  found.type = typeOf(found.path);
  found.asWritten = found.type >= 0;
  if (!found.asWritten) {
    bool exists = false;
    const std::string resolved = Resolve(path, exists);
    found.type = exists ? typeOf(resolved) : -1;
    if (found.type >= 0) found.path = resolved;
  }
  if (found.type < 0) found.type = 0;
  return found;
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  bool exists = false;
  const std::string resolved = Resolve(path, exists);
  return exists && ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadWholeFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  bool exists = false;
  const std::string resolved = Resolve(path, exists);
  const int fd = exists ? OpenRegularFile(resolved) : -1;
  if (fd < 0) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> file(::fdopen(fd, "rb"), std::fclose);
  struct stat info;
  if (!file) {
    ::close(fd);
    return false;
  }
  if (::fstat(fd, &info) != 0) return false;
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size == 0 || size > maxBytes) return false;
  bytes.resize(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    bytes.clear();
    return false;
  }
  return true;
}

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

namespace {
uint64_t directoryReadings = 1;  // goes up each time the directories read are forgotten
}  // namespace

void ForgetDirectories() {
  directoryCache.clear();
  foundDirectories.clear();
  directoryReadings++;
}

uint64_t DirectoryReading() { return directoryReadings; }

int64_t DirectoryReads() { return directoryReads; }

void CloseAllFiles() {
  files.Clear();
  listings.Clear();
  ForgetDirectories();
}
