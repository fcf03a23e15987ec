#pragma once

#include "platform/workbook/internal/private.h"

// The Workbook stream a save writes, as runs of the stream as read and bytes
// made for the save: nothing is copied until it is written, and what stayed
// in place (same bytes at the same position) can be told from what moved.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/workbook/internal/bytes.h"

namespace vt::workbook::detail {

class StreamPlan {
 public:
  explicit StreamPlan(const Bytes& old) : old_(old) {}

  const Bytes& Old() const { return old_; }
  std::size_t Size() const { return size_; }

  // Bytes [offset, offset + size) of the stream as read.
  void Copy(std::size_t offset, std::size_t size);
  // New bytes; returns where they start in the new stream. They stay
  // reachable through At() for fix-ups made later.
  std::size_t Add(const std::uint8_t* data, std::size_t size);
  std::size_t Add(const Bytes& data) { return Add(data.data(), data.size()); }
  // The new byte at `position`, which Add() placed.
  std::uint8_t* At(std::size_t position);

  // Copies new bytes [from, from + size) to `out`. Reading on from where the
  // last read ended is cheaper with the `hint` that read returned.
  std::size_t Read(std::size_t from, std::size_t size, std::uint8_t* out,
                   std::size_t hint = SIZE_MAX) const;
  Bytes Read(std::size_t from, std::size_t size) const;
  // The new bytes [from, from + size) where they lie, when one run holds
  // them all; nullptr otherwise (Read them then). For reads of a few bytes
  // at a time over a whole stream; `hint` as for Read.
  const std::uint8_t* Direct(std::size_t from, std::size_t size, std::size_t& hint) const {
    if (from + size > size_ || size == 0) return nullptr;
    if (hint >= pieces_.size() || from < pieces_[hint].at ||
        from >= pieces_[hint].at + pieces_[hint].size) {
      hint = PieceAt(from);
    }
    const Piece& piece = pieces_[hint];
    if (from + size > piece.at + piece.size) return nullptr;
    return (piece.owned ? owned_.data() : old_.data()) + piece.source + (from - piece.at);
  }

  // What differs from the stream as read: `tail` is where the bytes stop
  // being the old ones for good (all after it is rewritten); `patches` are
  // ranges before it whose bytes changed in place (same length).
  struct Change {
    std::size_t from, to;
  };
  struct Difference {
    std::size_t tail = 0;
    std::vector<Change> patches;
  };
  Difference Compare() const;

  // Makes `old`, the stream this plan copies from, the new stream from
  // `from` on, in place (within its capacity), so that no copy of the new
  // bytes is held beside it; the plan may not be read afterwards. False,
  // with `old` untouched, when it cannot be done in place: the new stream
  // outgrows the capacity, or takes old bytes in an order other than theirs.
  bool AssembleInPlace(Bytes& old, std::size_t from) const;

 private:
  struct Piece {
    std::size_t at;      // in the new stream
    std::size_t source;  // in the old stream or in owned_
    std::size_t size;
    bool owned;
  };
  std::size_t PieceAt(std::size_t position) const;
  bool SameAsOld(const Piece& piece) const;

  const Bytes& old_;
  Bytes owned_;
  std::vector<Piece> pieces_;
  std::size_t size_ = 0;
};

}  // namespace vt::workbook::detail
