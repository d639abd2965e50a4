// Numbered objects of the media layer: -1 asks for a new number, a positive number names (or
// replaces) one, 0 is none.
#pragma once

#include <cstdint>
#include <map>

template <typename T>
class HandleTable {
 public:
  // Stores the object under a new number (id -1 or below 1) or under id, replacing what was there.
  int32_t Add(int32_t id, T&& object) {
    if (id < 1) {
      while (objects_.count(next_)) next_++;
      id = next_++;
    }
    objects_[id] = std::move(object);
    return id;
  }
  T* Find(int32_t id) {
    auto it = objects_.find(id);
    return it == objects_.end() ? nullptr : &it->second;
  }
  bool Remove(int32_t id) { return objects_.erase(id) > 0; }
  void Clear() { objects_.clear(); }
  std::map<int32_t, T>& All() { return objects_; }

 private:
  std::map<int32_t, T> objects_;
  int32_t next_ = 1;
};
