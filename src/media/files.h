// Text files read line by line, directory listings with wildcard patterns, the current directory.
//
// Paths may use "\" or "/" as separators. Where an exact path does not exist, each level of it
// is matched against the directory's entries ignoring letter case, so that data written on a
// case-insensitive system loads here. The data does not change while the game plays, so each
// directory is read from the disk once for the run, and a name in a directory already read is
// looked up in that listing alone (a file made there later is seen after ForgetDirectories). Only regular files are opened: devices,
// FIFOs and directories named by data are refused. Handles are positive numbers; pass -1 to ask
// for a new one, 0 means none or failed, and every operation on a handle that names nothing does
// nothing.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

// The path as this file system writes it: separators become "/", and each level that does not
// exist exactly is replaced by the entry matching it ignoring letter case (if there is one).
std::string ResolvePath(const std::string& path);

// Converts backslashes to the native separator, without looking at the disk.
std::string NativePath(const std::string& path);

// Opens a regular file for reading. Result: the file number, 0 on failure.
int32_t OpenTextFile(int32_t id, const std::string& path);

// Non-zero when no byte is left to read (also for a number that names no file).
bool AtEndOfFile(int32_t file);

// The next line without its end. A line ends at CR, LF, CR LF, a zero byte or the end of file;
// at the end of the file the result is empty. Of a line longer than 1 MB the first 1 MB is kept.
std::string ReadLine(int32_t file);

void CloseTextFile(int32_t file);

// Entry types.
constexpr int32_t kEntryFile = 1;
constexpr int32_t kEntryDirectory = 2;

// Starts a listing of the entries of a directory matching a wildcard pattern ("*" and "?",
// letter case ignored, "*.*" or an empty pattern match everything, "." and ".." included).
// Entries come sorted by name, letter case ignored. Result: the listing number, 0 if the
// directory cannot be read.
int32_t ListDirectory(int32_t id, const std::string& directory, const std::string& pattern);

// Advances to the next entry; 0 when there are no more.
int32_t NextEntry(int32_t listing);
std::string EntryName(int32_t listing);
int32_t EntryType(int32_t listing);
void EndListing(int32_t listing);

// The process's current directory, always with a trailing "/".
std::string CurrentDirectory();

// What a path names as the files here are found: as written (separators aside), or only by
// ignoring letter case; and whether that is a regular file (kEntryFile), a directory
// (kEntryDirectory) or nothing to read (0). `path` is the one found, with "/" separators.
struct FoundPath {
  std::string path;
  int32_t type = 0;
  bool asWritten = false;
};
FoundPath FindPath(const std::string& path);

// Reads a whole regular file (found as ResolvePath finds it) into bytes. False when it is
// missing, not a regular file, empty, unreadable or longer than maxBytes.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
// True when the path (found as ResolvePath finds it) is a regular file.
bool IsRegularFile(const std::string& path);

// Forgets the directories read so far, so that the next lookups read them again (tests that
// change files between loads).
void ForgetDirectories();
// A number that changes with every ForgetDirectories: what was read from the data under one
// number may be kept and used again while the number stays the same.
uint64_t DirectoryReading();

// Closes every open file and listing and forgets the directories read (shut-down and tests).
void CloseAllFiles();
