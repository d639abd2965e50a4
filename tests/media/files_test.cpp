#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "media/files.h"
#include "media/internal.h"
#include "media/probes.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> Lines(const std::string& bytes, bool& endAfterLast) {
  TempDir dir;
  const int32_t f = OpenTextFile(-1, dir.Write("f.txt", bytes));
  EXPECT_NE(f, 0);
  std::vector<std::string> lines;
  while (!AtEndOfFile(f)) lines.push_back(ReadLine(f));
  endAfterLast = AtEndOfFile(f);
  CloseTextFile(f);
  return lines;
}

TEST(TextFile, LinesEndAtEveryKindOfLineEnd) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb", {"a", "b"}},                  // a lone CR ends a line; the next byte starts the next
      {std::string("a\0b", 3), {"a", "b"}},  // a zero byte ends a line
      {"last line", {"last line"}},          // no line end at the end of file
      {"\n\nx", {"", "", "x"}},
      {"a\r\r\nb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    bool atEnd = false;
    EXPECT_EQ(Lines(c.bytes, atEnd), c.lines);
    EXPECT_TRUE(atEnd);
  }
}

TEST(TextFile, ReadingPastTheEndGivesEmptyLinesAndUnknownNumbersDoNothing) {
  TempDir dir;
  const int32_t f = OpenTextFile(-1, dir.Write("f.txt", "x"));
  EXPECT_EQ(ReadLine(f), "x");
  EXPECT_EQ(ReadLine(f), "");
  CloseTextFile(f);
  EXPECT_EQ(ReadLine(f), "");
  EXPECT_TRUE(AtEndOfFile(f));
  EXPECT_EQ(OpenTextFile(-1, dir / "missing.txt"), 0);
  EXPECT_EQ(OpenTextFile(-1, dir.Path()), 0);  // a directory is not a text file
}

TEST(TextFile, BackslashesAndLetterCaseAreFoundOnThisFileSystem) {
  TempDir dir;
  dir.Write("Data/Tiles/LAB_WALL", "GFXNAME\nwall.png\n");
  const std::string asWritten = dir.Path() + "\\DATA\\tiles\\lab_wall";
  EXPECT_EQ(ResolvePath(asWritten), dir / "Data/Tiles/LAB_WALL");
  const int32_t f = OpenTextFile(-1, asWritten);
  ASSERT_NE(f, 0);
  EXPECT_EQ(ReadLine(f), "GFXNAME");
  CloseTextFile(f);
  // An exact match wins over one that differs in case.
  dir.Write("Data/Tiles/lab_wall", "other");
  EXPECT_EQ(ResolvePath(dir.Path() + "/Data/Tiles/lab_wall"), dir / "Data/Tiles/lab_wall");
}

// Data files are regular files: a device, a FIFO or a directory named by hostile data is not
// opened (a FIFO would block the open, /dev/zero would never end).
TEST(TextFile, OnlyRegularFilesAreOpened) {
  TempDir dir;
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string link = dir / "zero.png";
  ASSERT_EQ(::symlink("/dev/zero", link.c_str()), 0);
  const std::string notFiles[] = {"/dev/zero", "/dev/null", fifo, link, dir.Path()};
  for (const std::string& path : notFiles) {
    EXPECT_EQ(OpenTextFile(-1, path), 0) << path;
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ReadWholeFile(path, 1 << 20, bytes)) << path;
  }
  EXPECT_NE(OpenTextFile(-1, dir.Write("plain", "x")), 0);
}

// Directory listings are read once for the run: looking up many missing names (a map of
// unknown tiles) must not list the directory again for each of them.
TEST(Directory, MissingNamesDoNotRescanTheirDirectory) {
  TempDir dir;
  constexpr int kEntries = 100;
  for (int i = 0; i < kEntries; i++) dir.Write("T/tile" + std::to_string(i), "x");
  const int64_t before = DirectoryReads();
  int opened = 0;
  for (int i = 0; i < kEntries; i++) opened += OpenTextFile(-1, dir / ("T/missing" + std::to_string(i))) != 0;
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(DirectoryReads() - before, 1) << kEntries << " lookups of missing names in one directory";
  // Letter case is still ignored: the level "t" is found in the listing of its parent.
  const int32_t f = OpenTextFile(-1, dir.Path() + "\\t\\TILE7");
  EXPECT_NE(f, 0);
  CloseTextFile(f);
  EXPECT_EQ(DirectoryReads() - before, 2);
}

std::vector<std::pair<std::string, int32_t>> List(const std::string& dir, const std::string& pattern) {
  std::vector<std::pair<std::string, int32_t>> out;
  const int32_t l = ListDirectory(-1, dir, pattern);
  EXPECT_NE(l, 0);
  while (NextEntry(l)) out.emplace_back(EntryName(l), EntryType(l));
  EXPECT_EQ(NextEntry(l), 0);
  EndListing(l);
  return out;
}

TEST(Directory, PatternsMatchIgnoringCaseAndReportDirectories) {
  TempDir dir;
  dir.Write("b.ogg", "");
  dir.Write("A.OGG", "");
  dir.Write("c.png", "");
  dir.MakeDir("music.ogg");
  using Entries = std::vector<std::pair<std::string, int32_t>>;
  EXPECT_EQ(List(dir.Path(), "*.ogg"),
            (Entries{{"A.OGG", kEntryFile}, {"b.ogg", kEntryFile}, {"music.ogg", kEntryDirectory}}));
  EXPECT_EQ(List(dir.Path() + "/", "*.png"), (Entries{{"c.png", kEntryFile}}));
  const Entries all = List(dir.Path(), "");
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[0], (std::pair<std::string, int32_t>{".", kEntryDirectory}));
  EXPECT_EQ(all[1], (std::pair<std::string, int32_t>{"..", kEntryDirectory}));
  EXPECT_EQ(List(dir.Path(), "?.???").size(), 3u);
  EXPECT_EQ(ListDirectory(-1, dir / "missing", "*.png"), 0);
}

TEST(Directory, CurrentDirectoryEndsWithASeparator) {
  const std::string cwd = CurrentDirectory();
  ASSERT_FALSE(cwd.empty());
  EXPECT_EQ(cwd.back(), '/');
}

}  // namespace
