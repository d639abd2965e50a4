// Line-pair files: the configuration file, the tile files and the object definition files are
// all pairs of lines, a key line followed by a value line, and nothing else: no comments, no
// sections, no quoting, no trimming. A key is compared whole, byte for byte; a pair whose key
// the reader does not know is skipped with its value line (so a pair can serve as a comment);
// the pairs are stored in the file's order, so a key given twice keeps its last value. The end
// of the file is tested only before a key line: a key on the last line gets an empty value.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/text.h"

// How a key's value is read:
//   kText       the line as it stands
//   kPath       the base directory followed by the line (configuration keys only)
//   kSoundName  a text that names a sound effect by its file name
//   kInteger    TextToInteger: blanks and tabs, a sign, the digits up to the first other byte
//   kFlag       the integer's low 8 bits, meant as 0 or 1
//   kByte       the integer's low 8 bits, meant as a small number
//   kFloat      TextToFloat: the C library's decimal conversion
//   kIgnored    accepted, and nothing is stored
enum class ValueKind { kText, kPath, kSoundName, kInteger, kFlag, kByte, kFloat, kIgnored };

// The low 8 bits of a number, read back as signed: 257 gives 1, 255 gives -1, 200 gives -56.
int8_t LowByte(int32_t value);
// The flag and byte conversion of a value: LowByte of its integer conversion.
int8_t TextToLowByte(const std::string& text);

// One pair of a file, as read.
struct LinePair {
  std::string key, value;
  int32_t keyLine = 0, valueLine = 0;  // counted from 1
  bool hasValue = true;                // false: the file ended after the key line
};

// Whoever needs to know more of a reading than the values stored (the data checker): told of
// every pair in the file's order, and whether the reader knew its key and stored its value.
class LinePairWatcher {
 public:
  virtual void Pair(const LinePair& pair, bool stored) = 0;

 protected:
  ~LinePairWatcher() = default;
};

// Reads the pairs of a file in order; `store` stores the value of a key it knows and returns
// true, or returns false to skip the pair. False when the file cannot be opened.
using PairStore = std::function<bool(const std::string& key, const std::string& value)>;
bool ReadLinePairs(const std::string& path, const PairStore& store, LinePairWatcher* watcher = nullptr);

// The keys of one line-pair format and how each value is read, for the checker's questions.
class KeyKinds {
 public:
  // The kind of a key (compared whole and byte for byte), or nullptr when the format has none.
  virtual const ValueKind* Find(const std::string& key) const = 0;
  // Every key, sorted.
  virtual std::vector<std::string> Names() const = 0;

 protected:
  ~KeyKinds() = default;
};

// The table of a format's keys: for each, its kind and how it stores a value into a `Record`.
// A key added with a field stores the value by its kind's conversion; one added with a function
// stores it as the function says.
template <class Record>
class KeyTable final : public KeyKinds {
 public:
  using Store = std::function<void(Record&, const std::string&)>;
  struct Key {
    ValueKind kind;
    Store store;
  };

  void Add(const std::string& key, ValueKind kind, Store store) { keys_[key] = {kind, std::move(store)}; }
  void Add(const std::string& key, ValueKind kind, std::string Record::*field) {
    Add(key, kind, [field](Record& r, const std::string& v) { r.*field = v; });
  }
  void Add(const std::string& key, ValueKind kind, int32_t Record::*field) {
    Add(key, kind, [field](Record& r, const std::string& v) { r.*field = TextToInteger(v); });
  }
  void Add(const std::string& key, ValueKind kind, int8_t Record::*field) {
    Add(key, kind, [field](Record& r, const std::string& v) { r.*field = TextToLowByte(v); });
  }
  void Add(const std::string& key, ValueKind kind, float Record::*field) {
    Add(key, kind, [field](Record& r, const std::string& v) { r.*field = TextToFloat(v); });
  }
  // A key that is accepted and stores nothing.
  void Add(const std::string& key) {
    Add(key, ValueKind::kIgnored, [](Record&, const std::string&) {});
  }

  const Key* FindKey(const std::string& key) const {
    const auto found = keys_.find(key);
    return found == keys_.end() ? nullptr : &found->second;
  }
  const ValueKind* Find(const std::string& key) const override {
    const Key* found = FindKey(key);
    return found ? &found->kind : nullptr;
  }
  std::vector<std::string> Names() const override;

  // Reads a file's pairs into a record. False when the file cannot be opened.
  bool Read(const std::string& path, Record& record, LinePairWatcher* watcher = nullptr) const {
    return ReadLinePairs(
        path,
        [this, &record](const std::string& key, const std::string& value) {
          const Key* found = FindKey(key);
          if (found) found->store(record, value);
          return found != nullptr;
        },
        watcher);
  }

 private:
  std::unordered_map<std::string, Key> keys_;
};

template <class Record>
std::vector<std::string> KeyTable<Record>::Names() const {
  std::vector<std::string> names;
  names.reserve(keys_.size());
  for (const auto& entry : keys_) names.push_back(entry.first);
  std::sort(names.begin(), names.end());
  return names;
}
