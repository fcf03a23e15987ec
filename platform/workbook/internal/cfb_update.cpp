#include "platform/workbook/internal/cfb_update.h"

#include <algorithm>
#include <cstring>

namespace vt::workbook::detail {

namespace {

// What DIFAT sector `d` holds for the FAT sectors `fat` and DIFAT chain `difat`.
std::vector<std::uint32_t> DifatContent(const std::vector<std::uint32_t>& fat,
                                        const std::vector<std::uint32_t>& difat, std::size_t d,
                                        std::size_t per) {
  std::vector<std::uint32_t> out(per, kFreeSect);
  for (std::size_t k = 0; k + 1 < per; ++k) {
    const std::size_t j = kHeaderDifat + d * (per - 1) + k;
    if (j < fat.size()) out[k] = fat[j];
  }
  out[per - 1] = d + 1 < difat.size() ? difat[d + 1] : kEndOfChain;
  return out;
}

template <typename T>
void SortUnique(std::vector<T>& v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

// The stream's sectors that change, in order: those the patches touch and
// every one from the tail on. Only these, and the FAT entries they touch,
// are looked at, so that a small change costs what it changes.
std::vector<std::size_t> DirtySectors(const std::vector<ByteRange>& patches, std::size_t tail,
                                      std::size_t ss, std::size_t count) {
  std::vector<std::size_t> dirty;
  for (const ByteRange& p : patches) {
    if (p.to <= p.from) continue;
    for (std::size_t k = p.from / ss; k <= (p.to - 1) / ss && k < count; ++k) dirty.push_back(k);
  }
  for (std::size_t k = tail / ss; k < count; ++k) dirty.push_back(k);
  if (!std::is_sorted(dirty.begin(), dirty.end())) std::sort(dirty.begin(), dirty.end());
  dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());
  return dirty;
}

using Kind = InPlaceUpdate::Kind;

// The new version worked out step by step: every sector it writes anew is
// handed out past the old one's end, and every FAT entry it changes is noted.
class Planner {
 public:
  explicit Planner(const CfbLayout& old) : old_(old), per_(old.sector / 4), fat_(old.fat) {
    next_ = old.file_sectors;
    // Never hand out a sector that the FAT counts as used, even past the end.
    for (std::size_t s = fat_.size(); s-- > next_;) {
      if (fat_[s] != kFreeSect) {
        next_ = s + 1;
        break;
      }
    }
    first_new_ = next_;
  }

  // The stream `chain` of `count` sectors once its `dirty` ones have moved.
  std::vector<std::uint32_t> MoveStream(const std::vector<std::uint32_t>& chain,
                                        const std::vector<std::size_t>& dirty, std::size_t count) {
    std::vector<std::uint32_t> moved(
        chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(std::min(count, chain.size())));
    moved.resize(count);
    for (std::size_t k : dirty) moved[k] = Alloc(Kind::kStream, k);
    for (std::size_t k : dirty) {
      if (k < chain.size()) Set(chain[k], kFreeSect);
    }
    for (std::size_t k = count; k < chain.size(); ++k) Set(chain[k], kFreeSect);
    // Links that change: from a moved sector, into one, and the chain's end.
    auto link = [&](std::size_t k) { Set(moved[k], k + 1 < count ? moved[k + 1] : kEndOfChain); };
    std::size_t linked = SIZE_MAX;
    for (std::size_t k : dirty) {
      if (k > 0 && linked != k - 1) link(k - 1);
      link(k);
      linked = k;
    }
    if (count > 0 && linked != count - 1) link(count - 1);
    return moved;
  }

  // The directory chain once its sector `dir_sector` has moved.
  std::vector<std::uint32_t> MoveDirectory(std::size_t dir_sector) {
    std::vector<std::uint32_t> dir_chain = old_.dir_chain;
    Set(dir_chain[dir_sector], kFreeSect);
    dir_chain[dir_sector] = Alloc(Kind::kDirectory, dir_sector);
    for (std::size_t d = 0; d < dir_chain.size(); ++d) {
      Set(dir_chain[d], d + 1 < dir_chain.size() ? dir_chain[d + 1] : kEndOfChain);
    }
    return dir_chain;
  }

  // Every FAT and DIFAT sector whose content changes moves too, which
  // changes more entries: repeat until nothing more moves.
  void MoveTables() {
    fat_sectors_.at = old_.fat_sectors;
    fat_sectors_.moved.assign(fat_sectors_.at.size(), false);
    difat_sectors_.at = old_.difat_sectors;
    difat_sectors_.moved.assign(difat_sectors_.at.size(), false);
    for (bool changed = true; changed;) {
      // The FAT has an entry for every sector, its own among them.
      const std::size_t fat_count = std::max(old_.fat_sectors.size(), CeilDiv(next_, per_));
      Grow(fat_count * per_ - 1);
      changed = AddSectors(fat_sectors_, fat_count);
      changed |= MoveChangedFatSectors();
      const std::size_t fat_sectors = fat_sectors_.at.size();
      changed |= AddSectors(difat_sectors_, fat_sectors > kHeaderDifat
                                                ? CeilDiv(fat_sectors - kHeaderDifat, per_ - 1)
                                                : 0);
      changed |= MoveChangedDifatSectors();
    }
    fat_.resize(fat_sectors_.at.size() * per_, kFreeSect);
  }

  // Sectors in use: the count below first_new kept from the last save (or
  // counted once), moved by the entries written and the sectors added.
  std::size_t LiveSectors() {
    std::size_t live = old_.live_end == first_new_ ? old_.live : 0;
    if (old_.live_end != first_new_) {
      for (std::size_t s = 0; s < first_new_ && s < old_.fat.size(); ++s) {
        live += old_.fat[s] != kFreeSect;
      }
    }
    SortUnique(touched_);
    for (std::size_t s : touched_) {
      if (s >= first_new_) break;
      const bool was = s < old_.fat.size() && old_.fat[s] != kFreeSect;
      live = live - (was ? 1 : 0) + (fat_[s] != kFreeSect ? 1 : 0);
    }
    for (std::size_t s = first_new_; s < next_; ++s) live += fat_[s] != kFreeSect;
    return live;
  }

  std::size_t FirstNew() const { return first_new_; }
  std::size_t Next() const { return next_; }
  std::vector<InPlaceUpdate::Made> TakeMade() { return std::move(made_); }
  std::vector<std::uint32_t> TakeFat() { return std::move(fat_); }
  std::vector<std::uint32_t> TakeFatSectors() { return std::move(fat_sectors_.at); }
  std::vector<std::uint32_t> TakeDifatSectors() { return std::move(difat_sectors_.at); }

 private:
  void Set(std::size_t s, std::uint32_t value) {
    fat_[s] = value;
    touched_.push_back(s);
  }
  void Grow(std::size_t s) {
    if (s >= fat_.size()) fat_.resize(CeilDiv(s + 1, per_) * per_, kFreeSect);
  }
  std::uint32_t Alloc(Kind kind, std::size_t what) {
    const auto s = static_cast<std::uint32_t>(next_++);
    Grow(s);
    made_.push_back({kind, what});
    return s;
  }

  // Where the FAT's (or the DIFAT's) sectors lie, and which have moved.
  struct Table {
    Kind kind;
    std::uint32_t marker;  // what the FAT holds for such a sector
    std::vector<std::uint32_t> at;
    std::vector<bool> moved;
  };

  // Sectors for the table up to `count` of them.
  bool AddSectors(Table& t, std::size_t count) {
    bool added = false;
    while (t.at.size() < count) {
      const std::uint32_t s = Alloc(t.kind, t.at.size());
      t.at.push_back(s);
      t.moved.push_back(true);
      Set(s, t.marker);
      added = true;
    }
    return added;
  }

  // The table's sector `j` written anew, elsewhere.
  void MoveSector(Table& t, std::size_t j) {
    Set(t.at[j], kFreeSect);
    t.at[j] = Alloc(t.kind, j);
    Set(t.at[j], t.marker);
    t.moved[j] = true;
  }

  bool MoveChangedFatSectors() {
    bool moved = false;
    std::vector<std::size_t> changed_fat;  // old FAT sectors holding a written entry
    for (std::size_t s : touched_) {
      if (s / per_ < old_.fat_sectors.size()) changed_fat.push_back(s / per_);
    }
    SortUnique(changed_fat);
    for (std::size_t j : changed_fat) {
      if (fat_sectors_.moved[j]) continue;
      const std::size_t from = j * per_;
      if (std::equal(fat_.begin() + static_cast<std::ptrdiff_t>(from),
                     fat_.begin() + static_cast<std::ptrdiff_t>(from + per_),
                     old_.fat.begin() + static_cast<std::ptrdiff_t>(from))) {
        continue;
      }
      MoveSector(fat_sectors_, j);
      moved = true;
    }
    return moved;
  }

  bool MoveChangedDifatSectors() {
    bool moved = false;
    for (std::size_t d = 0; d < old_.difat_sectors.size(); ++d) {
      if (difat_sectors_.moved[d]) continue;
      if (DifatContent(fat_sectors_.at, difat_sectors_.at, d, per_) ==
          DifatContent(old_.fat_sectors, old_.difat_sectors, d, per_)) {
        continue;
      }
      MoveSector(difat_sectors_, d);
      moved = true;
    }
    return moved;
  }

  const CfbLayout& old_;
  const std::size_t per_;
  std::vector<std::uint32_t> fat_;
  std::vector<std::size_t> touched_;  // FAT entries written, in any order
  std::size_t next_ = 0, first_new_ = 0;
  std::vector<InPlaceUpdate::Made> made_;  // by sector, from first_new_ on
  Table fat_sectors_{Kind::kFat, kFatSect, {}, {}};
  Table difat_sectors_{Kind::kDifat, kDifSect, {}, {}};
};

// The directory as it will be, the stream `entry` starting at `first` and
// holding `size` bytes.
std::vector<std::array<std::uint8_t, kEntrySize>> NewDirectory(const CompoundFile& file,
                                                               std::size_t entry,
                                                               std::uint32_t first,
                                                               std::size_t size) {
  std::vector<std::array<std::uint8_t, kEntrySize>> directory;
  directory.reserve(file.entries.size());
  for (const CfbEntry& e : file.entries) directory.push_back(e.raw);
  std::uint8_t* raw = directory[entry].data();
  Put32(raw + cfb_entry::kStart, first);
  Put32(raw + cfb_entry::kSize, static_cast<std::uint32_t>(size));
  Put32(raw + cfb_entry::kSize + 4, 0);
  return directory;
}

// The header that switches the file to the new version.
void SetHeader(std::uint8_t* h, const std::vector<std::uint32_t>& fat_at,
               const std::vector<std::uint32_t>& difat_at, std::uint32_t dir_start) {
  Put32(h + cfb_header::kFatCount, static_cast<std::uint32_t>(fat_at.size()));
  Put32(h + cfb_header::kDirectoryStart, dir_start);
  Put32(h + cfb_header::kDifatStart, difat_at.empty() ? kEndOfChain : difat_at[0]);
  Put32(h + cfb_header::kDifatCount, static_cast<std::uint32_t>(difat_at.size()));
  for (std::size_t j = 0; j < kHeaderDifat; ++j) {
    Put32(h + cfb_header::kDifat + 4 * j, j < fat_at.size() ? fat_at[j] : kFreeSect);
  }
}

}  // namespace

std::optional<InPlaceUpdate> PlanInPlace(const CompoundFile& file, std::size_t entry,
                                         std::size_t old_size, std::size_t new_size,
                                         std::size_t tail, const std::vector<ByteRange>& patches) {
  const CfbLayout& old = file.layout;
  if (!old.known || old_size < kMiniCutoff || new_size < kMiniCutoff) return std::nullopt;
  if (entry >= old.chains.size() || entry >= file.entries.size()) return std::nullopt;
  const std::size_t ss = old.sector;
  const std::vector<std::uint32_t>& chain = old.chains[entry];
  if (chain.size() != CeilDiv(old_size, ss)) return std::nullopt;
  const std::size_t per_dir = ss / kEntrySize;
  if (entry / per_dir >= old.dir_chain.size()) return std::nullopt;

  const std::size_t count = CeilDiv(new_size, ss);
  Planner plan(old);
  std::vector<std::uint32_t> stream_chain =
      plan.MoveStream(chain, DirtySectors(patches, tail, ss, count), count);
  std::vector<std::uint32_t> dir_chain = plan.MoveDirectory(entry / per_dir);
  plan.MoveTables();
  const std::size_t live = plan.LiveSectors();
  const std::size_t next = plan.Next();
  if ((next - live) * 4 > next) return std::nullopt;  // better written anew

  InPlaceUpdate u;
  u.offset = static_cast<std::uint64_t>(plan.FirstNew() + 1) * ss;
  u.sectors = plan.TakeMade();
  u.stream_size = new_size;
  u.directory = NewDirectory(file, entry, stream_chain[0], new_size);
  u.header = old.header;
  u.old_header = old.header;
  CfbLayout& l = u.layout;
  l.fat_sectors = plan.TakeFatSectors();
  l.difat_sectors = plan.TakeDifatSectors();
  SetHeader(u.header.data(), l.fat_sectors, l.difat_sectors, dir_chain[0]);

  // The old layout but for what changed; its FAT and the stream's chain are
  // not copied only to be replaced.
  l.known = old.known;
  l.sector = old.sector;
  l.major = old.major;
  l.chains.resize(old.chains.size());
  for (std::size_t i = 0; i < old.chains.size(); ++i) {
    if (i != entry) l.chains[i] = old.chains[i];
  }
  l.header = u.header;
  l.fat = plan.TakeFat();
  l.dir_chain = std::move(dir_chain);
  l.file_sectors = next;
  l.live = live;
  l.live_end = next;
  l.chains[entry] = std::move(stream_chain);
  return u;
}

void RenderSectors(const InPlaceUpdate& u, std::size_t first, std::size_t count,
                   const StreamReader& read, std::uint8_t* out) {
  const CfbLayout& l = u.layout;
  const std::size_t ss = l.sector;
  const std::size_t per = ss / 4;
  const std::size_t per_dir = ss / kEntrySize;
  std::memset(out, 0, count * ss);
  for (std::size_t i = 0; i < count; ++i, out += ss) {
    const auto [kind, what] = u.sectors[first + i];
    switch (kind) {
      case Kind::kStream: {
        const std::size_t at = what * ss;
        read(at, std::min(ss, u.stream_size - at), out);
        break;
      }
      case Kind::kDirectory:
        for (std::size_t k = 0; k < per_dir; ++k) {
          if (what * per_dir + k < u.directory.size()) {
            std::memcpy(out + kEntrySize * k, u.directory[what * per_dir + k].data(), kEntrySize);
          }
        }
        break;
      case Kind::kFat:
        for (std::size_t k = 0; k < per; ++k) Put32(out + 4 * k, l.fat[what * per + k]);
        break;
      case Kind::kDifat: {
        const std::vector<std::uint32_t> content =
            DifatContent(l.fat_sectors, l.difat_sectors, what, per);
        for (std::size_t k = 0; k < per; ++k) Put32(out + 4 * k, content[k]);
        break;
      }
    }
  }
}

}  // namespace vt::workbook::detail
