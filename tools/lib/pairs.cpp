#include "pairs.h"

#include <fstream>

namespace gen {

PairFile& PairFile::Add(const std::string& key, const std::string& value) {
  pairs_.emplace_back(key, value);
  return *this;
}

PairFile& PairFile::Add(const std::string& key, long value) { return Add(key, std::to_string(value)); }

PairFile& PairFile::Comment(const std::string& text) { return Add("#", text); }

std::string PairFile::Text() const {
  std::string out;
  for (const auto& [key, value] : pairs_) out += key + "\r\n" + value + "\r\n";
  return out;
}

bool PairFile::Save(const std::string& path) const { return WriteTextFile(path, Text()); }

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace gen
