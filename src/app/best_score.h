// The best score, one for each base directory: a file in $XDG_STATE_HOME/quorvex/
// (~/.local/state/quorvex/) named after a hash of the directory's canonical path, which the file
// holds as well, so that two directories never share one. Written whole or not at all when a
// game over beats it. Harness runs keep none unless --state names the directory to use.
#pragma once

#include <cstdint>
#include <string>

// The directory of best scores for this run: --state DIR, the XDG place, or "" for none.
std::string BestScoreDirectory();
// "best-" and 16 hex digits of the path's 64-bit FNV-1a hash, ".txt".
std::string BestScoreFileName(const std::string& canonicalBase);
// The file's text, and reading it back: false (best untouched) when it is not for that base or
// holds no score.
std::string FormatBestScore(const std::string& canonicalBase, int32_t best);
bool ParseBestScore(const std::string& text, const std::string& canonicalBase, int32_t& best);

// At start-up, once the base directory is known: reads its best score and connects the store
// the title and game-over screens use.
void LoadBestScore(const std::string& baseDirectory);
