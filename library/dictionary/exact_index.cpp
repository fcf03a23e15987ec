#include "library/dictionary/exact_index.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace vt::dictionary {
namespace {

constexpr std::size_t kFirstSize = 1024;

std::uint64_t Hash(std::string_view text) { return std::hash<std::string_view>{}(text); }

}  // namespace

std::size_t ExactIndex::Probe(std::uint64_t hash, std::string_view text) const {
  // Linear probing over a power-of-two table never more than half full.
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.row == 0 || (slot.hash == hash && slot.text == text)) return i;
  }
}

void ExactIndex::Add(std::string_view text, std::size_t row) {
  if (2 * (used_ + 1) > slots_.size()) Rehash(slots_.empty() ? kFirstSize : 2 * slots_.size());
  const std::uint64_t hash = Hash(text);
  Slot& slot = slots_[Probe(hash, text)];
  if (slot.row != 0) return;
  slot = {hash, text, row};
  ++used_;
}

std::optional<std::size_t> ExactIndex::Find(std::string_view text) const {
  if (slots_.empty()) return std::nullopt;
  const Slot& slot = slots_[Probe(Hash(text), text)];
  if (slot.row == 0) return std::nullopt;
  return slot.row;
}

void ExactIndex::Reserve(std::size_t count) {
  const std::size_t size = std::max(kFirstSize, std::bit_ceil(2 * count));
  if (size > slots_.size()) Rehash(size);
}

void ExactIndex::Rehash(std::size_t size) {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.row == 0) continue;
    std::size_t i = static_cast<std::size_t>(slot.hash) & mask;
    while (slots_[i].row != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

}  // namespace vt::dictionary
