// Numbered objects of the media layer: -1 asks for a new number, a positive number names (or
// replaces) one, 0 is none.
//
// New numbers only ever count up, and the objects alive at one time sit close together: a
// world map's quarter million cell quads are numbers in a row. So the objects are kept in pages
// of consecutive numbers, made when a number of theirs is first stored and dropped when their
// last object goes, which costs little more than the objects themselves.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

template <typename T>
class HandleTable {
 public:
  // Stores the object under a new number (id -1 or below 1) or under id, replacing what was there.
  int32_t Add(int32_t id, T&& object) {
    if (id < 1) {
      while (Find(next_)) next_++;
      id = next_++;
    }
    std::unique_ptr<Page>& page = pages_[id / kPageSize];
    if (!page) page = std::make_unique<Page>();
    std::optional<T>& slot = page->slots[id % kPageSize];
    if (!slot) page->used++;
    slot = std::move(object);
    return id;
  }
  T* Find(int32_t id) {
    if (id < 1) return nullptr;
    const auto page = pages_.find(id / kPageSize);
    if (page == pages_.end()) return nullptr;
    std::optional<T>& slot = page->second->slots[id % kPageSize];
    return slot ? &*slot : nullptr;
  }
  bool Remove(int32_t id) {
    if (id < 1) return false;
    const auto page = pages_.find(id / kPageSize);
    if (page == pages_.end() || !page->second->slots[id % kPageSize]) return false;
    page->second->slots[id % kPageSize].reset();
    if (--page->second->used == 0) pages_.erase(page);
    return true;
  }
  void Clear() { pages_.clear(); }
  // Calls visit(id, object) for every object, by rising number.
  template <class Visit>
  void ForEach(Visit visit) {
    for (auto& [number, page] : pages_)
      for (int32_t i = 0; i < kPageSize; i++)
        if (page->slots[i]) visit(number * kPageSize + i, *page->slots[i]);
  }

 private:
  static constexpr int32_t kPageSize = 256;
  struct Page {
    std::optional<T> slots[kPageSize];
    int32_t used = 0;
  };
  std::map<int32_t, std::unique_ptr<Page>> pages_;
  int32_t next_ = 1;
};
