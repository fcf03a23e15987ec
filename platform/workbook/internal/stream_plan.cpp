#include "platform/workbook/internal/stream_plan.h"

#include <algorithm>
#include <cstring>

namespace vt::workbook::detail {

void StreamPlan::Copy(std::size_t offset, std::size_t size) {
  if (size == 0) return;
  if (!pieces_.empty()) {
    Piece& last = pieces_.back();
    if (!last.owned && last.source + last.size == offset) {
      last.size += size;
      size_ += size;
      return;
    }
  }
  pieces_.push_back({size_, offset, size, false});
  size_ += size;
}

std::size_t StreamPlan::Add(const std::uint8_t* data, std::size_t size) {
  const std::size_t at = size_;
  if (size == 0) return at;
  if (!pieces_.empty() && pieces_.back().owned) {
    pieces_.back().size += size;
  } else {
    pieces_.push_back({size_, owned_.size(), size, true});
  }
  owned_.insert(owned_.end(), data, data + size);
  size_ += size;
  return at;
}

std::size_t StreamPlan::PieceAt(std::size_t position) const {
  auto it = std::upper_bound(pieces_.begin(), pieces_.end(), position,
                             [](std::size_t p, const Piece& piece) { return p < piece.at; });
  return static_cast<std::size_t>(it - pieces_.begin()) - 1;
}

std::uint8_t* StreamPlan::At(std::size_t position) {
  const Piece& piece = pieces_[PieceAt(position)];
  if (!piece.owned) throw FormatError("internal error: a fix-up of bytes that were copied");
  return owned_.data() + piece.source + (position - piece.at);
}

std::size_t StreamPlan::Read(std::size_t from, std::size_t size, std::uint8_t* out,
                             std::size_t hint) const {
  if (size == 0) return hint;
  std::size_t i = hint;
  if (i >= pieces_.size() || from < pieces_[i].at || from >= pieces_[i].at + pieces_[i].size) {
    i = PieceAt(from);
  }
  while (size > 0) {
    const Piece& piece = pieces_[i];
    const std::size_t skip = from - piece.at;
    const std::size_t take = std::min(size, piece.size - skip);
    const std::uint8_t* src = (piece.owned ? owned_.data() : old_.data()) + piece.source + skip;
    std::memcpy(out, src, take);
    if (skip + take == piece.size) ++i;
    out += take;
    from += take;
    size -= take;
  }
  return i;
}

Bytes StreamPlan::Read(std::size_t from, std::size_t size) const {
  Bytes out(size);
  Read(from, size, out.data());
  return out;
}

bool StreamPlan::SameAsOld(const Piece& piece) const {
  if (piece.at + piece.size > old_.size()) return false;
  if (!piece.owned) return piece.source == piece.at;
  return std::memcmp(owned_.data() + piece.source, old_.data() + piece.at, piece.size) == 0;
}

StreamPlan::Difference StreamPlan::Compare() const {
  Difference d;
  std::size_t last_same = SIZE_MAX;
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    if (SameAsOld(pieces_[i])) last_same = i;
  }
  if (last_same == SIZE_MAX) return d;  // all rewritten
  d.tail = pieces_[last_same].at + pieces_[last_same].size;
  // A patch joins the one before it across fewer equal bytes than this.
  constexpr std::size_t kGap = 64;
  auto patch = [&d](std::size_t from, std::size_t to) {
    if (!d.patches.empty() && from <= d.patches.back().to + kGap) {
      d.patches.back().to = to;
    } else {
      d.patches.push_back({from, to});
    }
  };
  for (std::size_t i = 0; i < last_same; ++i) {
    const Piece& piece = pieces_[i];
    if (SameAsOld(piece)) continue;
    if (!piece.owned || piece.at + piece.size > old_.size()) {
      patch(piece.at, piece.at + piece.size);
      continue;
    }
    // Made bytes (an INDEX, a DIMENSIONS, a count) mostly equal the old
    // ones: only the bytes that differ are patched, so that a save changes
    // the few sectors they lie in.
    const std::uint8_t* now = owned_.data() + piece.source;
    const std::uint8_t* was = old_.data() + piece.at;
    for (std::size_t k = 0; k < piece.size; ++k) {
      if (now[k] != was[k]) patch(piece.at + k, piece.at + k + 1);
    }
  }
  return d;
}

bool StreamPlan::AssembleInPlace(Bytes& old, std::size_t from) const {
  if (&old != &old_ || size_ > old.capacity() || from > size_ || from > old.size()) return false;
  const std::size_t first = pieces_.empty() ? 0 : PieceAt(from);
  // Piece `i` less what lies before `from`.
  auto part = [this, from](std::size_t i) {
    Piece p = pieces_[i];
    const std::size_t skip = std::min(p.size, from > p.at ? from - p.at : 0);
    p.at += skip;
    p.source += skip;
    p.size -= skip;
    return p;
  };
  // Old bytes taken in their own order can be moved within one buffer:
  // those moving back first to last, those moving on last to first; none
  // then overwrites bytes a move still has to read.
  std::size_t end = 0;
  for (std::size_t i = first; i < pieces_.size(); ++i) {
    const Piece p = part(i);
    if (p.owned || p.size == 0) continue;
    if (p.source < end) return false;
    end = p.source + p.size;
  }
  old.resize(std::max(old.size(), size_));
  auto move = [&old](const Piece& p) {
    std::memmove(old.data() + p.at, old.data() + p.source, p.size);
  };
  for (std::size_t i = first; i < pieces_.size(); ++i) {
    const Piece p = part(i);
    if (!p.owned && p.at < p.source) move(p);
  }
  for (std::size_t i = pieces_.size(); i-- > first;) {
    const Piece p = part(i);
    if (!p.owned && p.at > p.source) move(p);
  }
  for (std::size_t i = first; i < pieces_.size(); ++i) {
    const Piece p = part(i);
    if (p.owned) std::memcpy(old.data() + p.at, owned_.data() + p.source, p.size);
  }
  old.resize(size_);
  return true;
}

}  // namespace vt::workbook::detail
