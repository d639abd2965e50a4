// What many cells of the tile grid hold alike: the tile's name, its graphic's name, the names
// of its child slots and, until something spawns there, the objects of those slots. Each
// distinct text (and each distinct set of eight) is kept once, counted, and dropped when no cell
// holds it any more; a cell holds a pointer, so a grid of a quarter million cells costs a few
// names, not a quarter million copies of them.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

class SharedText {
 public:
  SharedText();  // the empty text
  SharedText(const std::string& text);  // NOLINT: a text stands wherever a SharedText does
  SharedText(const char* text) : SharedText(std::string(text)) {}  // NOLINT
  SharedText(const SharedText& other);
  SharedText& operator=(const SharedText& other);
  ~SharedText();

  const std::string& str() const;
  operator const std::string&() const { return str(); }  // NOLINT
  bool empty() const { return str().empty(); }

  // Texts are kept once, so equal texts are the same entry.
  friend bool operator==(const SharedText& a, const SharedText& b) { return a.entry_ == b.entry_; }
  friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const SharedText& a, const char* b) { return a.str() == b; }
  friend std::string operator+(const SharedText& a, const std::string& b) { return a.str() + b; }
  friend std::string operator+(const std::string& a, const SharedText& b) { return a + b.str(); }
  friend std::string operator+(const char* a, const SharedText& b) { return a + b.str(); }
  friend std::ostream& operator<<(std::ostream& out, const SharedText& text) { return out << text.str(); }

  struct Entry;

 private:
  Entry* entry_;
};

// The eight child slots of a cell: an object definition's DGFXNAME, or "#", or empty, each.
class ChildNames {
 public:
  static constexpr int kSlots = 8;
  ChildNames();  // eight empty names
  ChildNames(const ChildNames& other);
  ChildNames& operator=(const ChildNames& other);
  ~ChildNames();

  // The name of a slot 0..7 (empty for any other).
  const std::string& operator[](int slot) const;
  void Set(int slot, const std::string& name);
  friend bool operator==(const ChildNames& a, const ChildNames& b) { return a.entry_ == b.entry_; }

  struct Entry;

 private:
  Entry* entry_;
};

// The eight child slots' objects of a cell: a position in placedObjects, -1 for none, or 0 as
// a fresh cell has. Cells whose slots hold no object share one set; a cell with objects has its own.
class ChildObjects {
 public:
  static constexpr int kSlots = 8;
  ChildObjects();  // eight zeros
  ChildObjects(const ChildObjects& other);
  ChildObjects& operator=(const ChildObjects& other);
  ~ChildObjects();

  // The object of a slot 0..7 (0 for any other).
  int32_t operator[](int slot) const;
  void Set(int slot, int32_t position);
  friend bool operator==(const ChildObjects& a, const ChildObjects& b) { return a.entry_ == b.entry_; }

  struct Entry;

 private:
  Entry* entry_;
};
