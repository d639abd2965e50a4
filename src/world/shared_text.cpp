#include "world/shared_text.h"

#include <array>
#include <functional>
#include <string_view>
#include <unordered_map>

// The pools are made on first use and never destroyed: cells of the global grid release their
// texts during the program's own destruction, after any pool object would be gone.

struct SharedText::Entry {
  std::string text;
  uint32_t holders = 0;
};

namespace {

SharedText::Entry* EmptyText() {
  static SharedText::Entry* const empty = new SharedText::Entry{};
  return empty;
}

std::unordered_map<std::string_view, SharedText::Entry*>& TextPool() {
  static auto* const pool = new std::unordered_map<std::string_view, SharedText::Entry*>();
  return *pool;
}

SharedText::Entry* TakeText(const std::string& text) {
  if (text.empty()) return EmptyText();
  auto& pool = TextPool();
  const auto found = pool.find(text);
  if (found != pool.end()) {
    found->second->holders++;
    return found->second;
  }
  auto* entry = new SharedText::Entry{text, 1};
  pool.emplace(entry->text, entry);
  return entry;
}

void HoldText(SharedText::Entry* entry) {
  if (entry != EmptyText()) entry->holders++;
}

void DropText(SharedText::Entry* entry) {
  if (entry == EmptyText() || --entry->holders > 0) return;
  TextPool().erase(entry->text);
  delete entry;
}

}  // namespace

SharedText::SharedText() : entry_(EmptyText()) {}
SharedText::SharedText(const std::string& text) : entry_(TakeText(text)) {}
SharedText::SharedText(const SharedText& other) : entry_(other.entry_) { HoldText(entry_); }

SharedText& SharedText::operator=(const SharedText& other) {
  HoldText(other.entry_);
  DropText(entry_);
  entry_ = other.entry_;
  return *this;
}

SharedText::~SharedText() { DropText(entry_); }

const std::string& SharedText::str() const { return entry_->text; }

// ---- Child names ----

namespace {

// A set of names by the texts it holds: each distinct text lives at one address.
using ChildKey = std::array<const std::string*, ChildNames::kSlots>;

struct ChildKeyHash {
  size_t operator()(const ChildKey& key) const {
    size_t hash = 0;
    for (const std::string* text : key) hash = hash * 1000003u ^ std::hash<const std::string*>()(text);
    return hash;
  }
};

}  // namespace

struct ChildNames::Entry {
  SharedText names[ChildNames::kSlots];
  uint32_t holders = 0;

  ChildKey Key() const {
    ChildKey key;
    for (int slot = 0; slot < kSlots; slot++) key[static_cast<size_t>(slot)] = &names[slot].str();
    return key;
  }
};

namespace {

ChildNames::Entry* NoChildren() {
  static ChildNames::Entry* const none = new ChildNames::Entry{};
  return none;
}

std::unordered_map<ChildKey, ChildNames::Entry*, ChildKeyHash>& ChildPool() {
  static auto* const pool = new std::unordered_map<ChildKey, ChildNames::Entry*, ChildKeyHash>();
  return *pool;
}

void HoldChildren(ChildNames::Entry* entry) {
  if (entry != NoChildren()) entry->holders++;
}

void DropChildren(ChildNames::Entry* entry) {
  if (entry == NoChildren() || --entry->holders > 0) return;
  ChildPool().erase(entry->Key());
  delete entry;
}

}  // namespace

ChildNames::ChildNames() : entry_(NoChildren()) {}
ChildNames::ChildNames(const ChildNames& other) : entry_(other.entry_) { HoldChildren(entry_); }

ChildNames& ChildNames::operator=(const ChildNames& other) {
  HoldChildren(other.entry_);
  DropChildren(entry_);
  entry_ = other.entry_;
  return *this;
}

ChildNames::~ChildNames() { DropChildren(entry_); }

const std::string& ChildNames::operator[](int slot) const {
  if (slot < 0 || slot >= kSlots) return NoChildren()->names[0].str();
  return entry_->names[slot].str();
}

void ChildNames::Set(int slot, const std::string& name) {
  if (slot < 0 || slot >= kSlots || entry_->names[slot] == name) return;
  const SharedText text(name);
  ChildKey key = entry_->Key();
  key[static_cast<size_t>(slot)] = &text.str();
  auto& pool = ChildPool();
  ChildNames::Entry* next = nullptr;
  const auto found = pool.find(key);
  if (found != pool.end()) {
    next = found->second;
    next->holders++;
  } else if (key == NoChildren()->Key()) {
    next = NoChildren();
  } else {
    next = new ChildNames::Entry{};
    for (int s = 0; s < kSlots; s++) next->names[s] = s == slot ? text : entry_->names[s];
    next->holders = 1;
    pool.emplace(key, next);
  }
  DropChildren(entry_);
  entry_ = next;
}

// ---- Child objects ----

namespace {

using ObjectKey = std::array<int32_t, ChildObjects::kSlots>;

struct ObjectKeyHash {
  size_t operator()(const ObjectKey& key) const {
    size_t hash = 0;
    for (const int32_t position : key) hash = hash * 1000003u ^ std::hash<int32_t>()(position);
    return hash;
  }
};

}  // namespace

struct ChildObjects::Entry {
  ObjectKey positions{};
  uint32_t holders = 0;
};

namespace {

ChildObjects::Entry* Zeros() {
  static ChildObjects::Entry* const zeros = new ChildObjects::Entry{};
  return zeros;
}

std::unordered_map<ObjectKey, ChildObjects::Entry*, ObjectKeyHash>& ObjectPool() {
  static auto* const pool = new std::unordered_map<ObjectKey, ChildObjects::Entry*, ObjectKeyHash>();
  return *pool;
}

void HoldObjects(ChildObjects::Entry* entry) {
  if (entry != Zeros()) entry->holders++;
}

void DropObjects(ChildObjects::Entry* entry) {
  if (entry == Zeros() || --entry->holders > 0) return;
  ObjectPool().erase(entry->positions);
  delete entry;
}

}  // namespace

ChildObjects::ChildObjects() : entry_(Zeros()) {}
ChildObjects::ChildObjects(const ChildObjects& other) : entry_(other.entry_) { HoldObjects(entry_); }

ChildObjects& ChildObjects::operator=(const ChildObjects& other) {
  HoldObjects(other.entry_);
  DropObjects(entry_);
  entry_ = other.entry_;
  return *this;
}

ChildObjects::~ChildObjects() { DropObjects(entry_); }

int32_t ChildObjects::operator[](int slot) const {
  return slot < 0 || slot >= kSlots ? 0 : entry_->positions[static_cast<size_t>(slot)];
}

void ChildObjects::Set(int slot, int32_t position) {
  if (slot < 0 || slot >= kSlots || entry_->positions[static_cast<size_t>(slot)] == position) return;
  ObjectKey key = entry_->positions;
  key[static_cast<size_t>(slot)] = position;
  auto& pool = ObjectPool();
  ChildObjects::Entry* next = nullptr;
  const auto found = pool.find(key);
  if (found != pool.end()) {
    next = found->second;
    next->holders++;
  } else if (key == Zeros()->positions) {
    next = Zeros();
  } else {
    next = new ChildObjects::Entry{key, 1};
    pool.emplace(key, next);
  }
  DropObjects(entry_);
  entry_ = next;
}
