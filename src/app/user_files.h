// The player's own files, kept beside the data: where they go under the XDG base directories,
// how they are written (whole or not at all) and read (a line at a time, in bounded memory).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// $NAME when it is set to an absolute path, else $HOME/fallback ("" when HOME is not set
// either). `env` reads a variable (nullptr: unset); the default reads the process's.
std::string XdgDirectory(const char* name, const char* fallback,
                         const std::function<const char*(const char*)>& env = nullptr);

// Writes the file whole or not at all: a new file beside it (its directories made, private to
// the user, when missing) takes the text and then the file's place. False with the reason.
bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error);

// Reads a stream line by line (LF, CR LF or CR), each line handed over with its number. A line
// longer than maxLine bytes is not kept: it is handed over empty with `tooLong` set, its bytes
// skipped, so that memory stays bounded whatever the file holds.
void ReadLinesBounded(std::FILE* file, size_t maxLine,
                      const std::function<void(int32_t number, const std::string& line, bool tooLong)>& each);
