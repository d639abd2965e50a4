// Line-pair files as the checker sees them: the reader reports every pair with its lines and
// whether it knew the key; here are the keys it skips and the pairs read out of step.
#include "app/check/checker.h"
#include "app/check/texts.h"

namespace check {

namespace {

bool IsComment(const std::string& key) { return !key.empty() && key[0] == '#'; }

}  // namespace

bool DataChecker::CheckKeys(const std::string& path, const std::vector<Pair>& pairs, const KeyKinds& keys,
                            std::vector<const Pair*>* unknown) {
  for (const Pair& pair : pairs) {
    // A key line used as a value shifts every pair after it.
    if (keys.Find(pair.value) != nullptr) {
      Error({path, pair.valueLine}, "the key " + pair.value + " stands where the value of " +
                                        (pair.key.empty() ? std::string("an empty key line") : Quote(pair.key)) +
                                        " belongs, so every pair from here on is read out of step (keys and values "
                                        "alternate line by line: a line is missing or one too many above)");
      return false;
    }
    // A byte-order mark is read as the start of the first key.
    if (&pair == &pairs.front() && !pair.known && StartsWithByteOrderMark(pair.key)) {
      const std::string key = pair.key.substr(3);
      const ValueKind* kind = keys.Find(key);
      if (kind && *kind != ValueKind::kIgnored)
        Error({path, pair.keyLine}, kByteOrderMarkIs + ", which the game reads as part of the first key, so it does not know " + key +
                                        " and skips its value (" + kByteOrderMarkTodo + ")");
      else
        Warning({path, pair.keyLine}, kByteOrderMarkIs + ", which the game reads as part of the first key, so it skips that pair (" +
                                          kByteOrderMarkTodo + ")");
      continue;
    }
    if (pair.known) {
      if (!pair.hasValue)
        Warning({path, pair.keyLine}, pair.key + " is the last line: the game reads an empty value for it (add its value line)");
      continue;
    }
    if (IsComment(pair.key) || (pair.key.empty() && pair.value.empty())) continue;
    unknown->push_back(&pair);
  }
  return true;
}

void DataChecker::ReportUnknownKeys(const std::string& path, const std::vector<const Pair*>& unknown,
                                    const KeyKinds& keys) {
  const std::vector<std::string> names = keys.Names();
  // A file of many unknown keys is likely no line-pair file at all; a few lines say so.
  constexpr size_t kMostNamed = 5;
  size_t named = 0;
  for (const Pair* pair : unknown) {
    if (foldedUnknown_.count(pair) != 0) continue;
    if (++named > kMostNamed) {
      Warning({path, pair->keyLine}, "and " + std::to_string(unknown.size() - kMostNamed) +
                                         " more unknown keys from here on (is this a file of key and value lines?)");
      return;
    }
    const std::string near = Nearest(pair->key, names);
    std::string text = pair->key.empty() ? "an empty line stands where a key belongs: the game skips it and the value line "
                                         : "unknown key " + Quote(pair->key) + ": the game skips it and the value line ";
    if (!near.empty() && near == Trim(pair->key))
      text += "after it (keys are read whole, blanks and all: write " + near + ")";
    else
      text += "after it (" + (near.empty() ? std::string("a comment pair starts with #") : "did you mean " + near + "?") + ")";
    Warning({path, pair->keyLine}, text);
  }
}

bool DataChecker::CheckPairs(const std::string& path, const std::vector<Pair>& pairs, const KeyKinds& keys) {
  std::vector<const Pair*> unknown;
  const bool inStep = CheckKeys(path, pairs, keys, &unknown);
  ReportUnknownKeys(path, unknown, keys);
  return inStep;
}

}  // namespace check
