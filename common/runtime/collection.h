#pragma once
// The old runtime's Collection: items in the order added, numbered from 1,
// each with an optional text key that is unique regardless of letter case
// (compared in capitals, Windows-1252 letters included).
//
// Errors as in the old runtime: a key already present is 457, a key not
// present is 5, a number out of range is 9.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"

namespace orva {

template <typename T>
class VbCollection {
 public:
  using iterator = typename std::vector<T>::iterator;
  using const_iterator = typename std::vector<T>::const_iterator;

  // Adds at the end. The empty key adds the item without a key.
  void Add(T item, std::string_view key = {}) {
    if (key.empty()) {
      items_.push_back(std::move(item));
      keys_.emplace_back();
      return;
    }
    std::string folded = UCase(key);
    if (index_.contains(folded)) RaiseVbError(vberr::kDuplicateKey);
    items_.push_back(std::move(item));
    try {
      keys_.push_back(folded);
      index_.emplace(std::move(folded), items_.size() - 1);
    } catch (...) {  // out of memory: leave the collection as it was
      items_.pop_back();
      if (keys_.size() > items_.size()) keys_.pop_back();
      throw;
    }
  }

  T& Item(int index) { return items_[Position(index)]; }
  const T& Item(int index) const { return items_[Position(index)]; }
  T& Item(std::string_view key) { return items_[Position(key)]; }
  const T& Item(std::string_view key) const { return items_[Position(key)]; }

  void Remove(int index) { RemoveAt(Position(index)); }
  void Remove(std::string_view key) { RemoveAt(Position(key)); }

  void Clear() {
    items_.clear();
    keys_.clear();
    index_.clear();
  }

  int Count() const { return static_cast<int>(items_.size()); }
  bool Exists(std::string_view key) const { return !key.empty() && index_.contains(UCase(key)); }

  iterator begin() { return items_.begin(); }
  iterator end() { return items_.end(); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

 private:
  std::size_t Position(int index) const {
    if (index < 1 || index > Count()) RaiseVbError(vberr::kSubscriptOutOfRange);
    return static_cast<std::size_t>(index - 1);
  }

  std::size_t Position(std::string_view key) const {
    const auto found = key.empty() ? index_.end() : index_.find(UCase(key));
    if (found == index_.end()) RaiseVbError(vberr::kInvalidCall);
    return found->second;
  }

  void RemoveAt(std::size_t position) {
    if (!keys_[position].empty()) index_.erase(keys_[position]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& entry : index_) {
      if (entry.second > position) --entry.second;
    }
  }

  std::vector<T> items_;
  std::vector<std::string> keys_;                       // in capitals; empty for no key
  std::unordered_map<std::string, std::size_t> index_;  // key in capitals -> position
};

}  // namespace orva
