// Line-pair text files as the game reads them: a key line, then a value line, each ending in
// CR LF. Used for the configuration, the tile definitions and the object definitions.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace gen {

class PairFile {
 public:
  PairFile& Add(const std::string& key, const std::string& value);
  PairFile& Add(const std::string& key, long value);
  // A pair whose key the game does not know: it reads and skips it, so it serves as a comment.
  PairFile& Comment(const std::string& text);
  std::string Text() const;
  bool Save(const std::string& path) const;
  const std::vector<std::pair<std::string, std::string>>& Pairs() const { return pairs_; }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

// Writes text to a file as it stands (no line-end conversion); false on failure.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace gen
