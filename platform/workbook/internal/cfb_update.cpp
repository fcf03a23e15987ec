#include "platform/workbook/internal/cfb_update.h"

#include <algorithm>
#include <cstring>

namespace vt::workbook::detail {

namespace {

constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::size_t kMiniCutoff = 4096;
constexpr std::size_t kHeaderDifat = 109;

std::size_t Ceil(std::size_t n, std::size_t d) { return (n + d - 1) / d; }

// What DIFAT sector `d` holds for the FAT sectors `fat` and DIFAT chain `difat`.
std::vector<std::uint32_t> DifatContent(const std::vector<std::uint32_t>& fat,
                                        const std::vector<std::uint32_t>& difat, std::size_t d,
                                        std::size_t per) {
  std::vector<std::uint32_t> out(per, kFree);
  for (std::size_t k = 0; k + 1 < per; ++k) {
    const std::size_t j = kHeaderDifat + d * (per - 1) + k;
    if (j < fat.size()) out[k] = fat[j];
  }
  out[per - 1] = d + 1 < difat.size() ? difat[d + 1] : kEnd;
  return out;
}

using Kind = InPlaceUpdate::Kind;

}  // namespace

std::optional<InPlaceUpdate> PlanInPlace(const CompoundFile& file, std::size_t entry,
                                         std::size_t old_size, std::size_t new_size,
                                         std::size_t tail, const std::vector<ByteRange>& patches) {
  const CfbLayout& old = file.layout;
  if (!old.known || old_size < kMiniCutoff || new_size < kMiniCutoff) return std::nullopt;
  if (entry >= old.chains.size() || entry >= file.entries.size()) return std::nullopt;
  const std::size_t ss = old.sector;
  const std::size_t per = ss / 4;
  const std::vector<std::uint32_t>& chain = old.chains[entry];
  if (chain.size() != Ceil(old_size, ss)) return std::nullopt;
  const std::size_t per_dir = ss / 128;
  if (entry / per_dir >= old.dir_chain.size()) return std::nullopt;

  const std::size_t count = Ceil(new_size, ss);
  // The stream's sectors that change, in order: those the patches touch and
  // every one from the tail on. Only these, and the FAT entries they touch,
  // are looked at, so that a small change costs what it changes.
  std::vector<std::size_t> dirty;
  for (const ByteRange& p : patches) {
    if (p.to <= p.from) continue;
    for (std::size_t k = p.from / ss; k <= (p.to - 1) / ss && k < count; ++k) dirty.push_back(k);
  }
  for (std::size_t k = tail / ss; k < count; ++k) dirty.push_back(k);
  if (!std::is_sorted(dirty.begin(), dirty.end())) std::sort(dirty.begin(), dirty.end());
  dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());

  std::vector<std::uint32_t> fat = old.fat;
  std::vector<std::size_t> touched;  // FAT entries written, in any order
  auto set = [&](std::size_t s, std::uint32_t value) {
    fat[s] = value;
    touched.push_back(s);
  };
  std::size_t next = old.file_sectors;
  // Never hand out a sector that the FAT counts as used, even past the end.
  for (std::size_t s = fat.size(); s-- > next;) {
    if (fat[s] != kFree) {
      next = s + 1;
      break;
    }
  }
  const std::size_t first_new = next;
  std::vector<InPlaceUpdate::Made> made;  // by sector, from first_new on
  auto grow = [&](std::size_t s) {
    if (s >= fat.size()) fat.resize(Ceil(s + 1, per) * per, kFree);
  };
  auto alloc = [&](Kind kind, std::size_t what) {
    const auto s = static_cast<std::uint32_t>(next++);
    grow(s);
    made.push_back({kind, what});
    return s;
  };

  std::vector<std::uint32_t> stream_chain(
      chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(std::min(count, chain.size())));
  stream_chain.resize(count);
  for (std::size_t k : dirty) stream_chain[k] = alloc(Kind::kStream, k);
  for (std::size_t k : dirty) {
    if (k < chain.size()) set(chain[k], kFree);
  }
  for (std::size_t k = count; k < chain.size(); ++k) set(chain[k], kFree);
  // Links that change: from a moved sector, into one, and the chain's end.
  auto link = [&](std::size_t k) {
    set(stream_chain[k], k + 1 < count ? stream_chain[k + 1] : kEnd);
  };
  std::size_t linked = SIZE_MAX;
  for (std::size_t k : dirty) {
    if (k > 0 && linked != k - 1) link(k - 1);
    link(k);
    linked = k;
  }
  if (count > 0 && linked != count - 1) link(count - 1);

  std::vector<std::array<std::uint8_t, 128>> directory;
  for (const CfbEntry& e : file.entries) directory.push_back(e.raw);
  Put32(directory[entry].data() + 116, stream_chain[0]);
  Put32(directory[entry].data() + 120, static_cast<std::uint32_t>(new_size));
  Put32(directory[entry].data() + 124, 0);
  std::vector<std::uint32_t> dir_chain = old.dir_chain;
  const std::size_t dir_sector = entry / per_dir;
  set(dir_chain[dir_sector], kFree);
  dir_chain[dir_sector] = alloc(Kind::kDirectory, dir_sector);
  for (std::size_t d = 0; d < dir_chain.size(); ++d) {
    set(dir_chain[d], d + 1 < dir_chain.size() ? dir_chain[d + 1] : kEnd);
  }

  // Every FAT and DIFAT sector whose content changes moves too, which
  // changes more entries: repeat until nothing more moves.
  std::vector<std::uint32_t> fat_at = old.fat_sectors;
  std::vector<bool> fat_moved(fat_at.size(), false);
  std::vector<std::uint32_t> difat_at = old.difat_sectors;
  std::vector<bool> difat_moved(difat_at.size(), false);
  const std::size_t old_fat_count = old.fat_sectors.size();
  for (bool changed = true; changed;) {
    changed = false;
    const std::size_t fat_count = std::max(old_fat_count, Ceil(next, per));
    grow(fat_count * per - 1);
    while (fat_at.size() < fat_count) {
      const std::uint32_t s = alloc(Kind::kFat, fat_at.size());
      fat_at.push_back(s);
      fat_moved.push_back(true);
      set(s, kFatSect);
      changed = true;
    }
    std::vector<std::size_t> changed_fat;  // old FAT sectors holding a written entry
    for (std::size_t s : touched) {
      if (s / per < old_fat_count) changed_fat.push_back(s / per);
    }
    std::sort(changed_fat.begin(), changed_fat.end());
    changed_fat.erase(std::unique(changed_fat.begin(), changed_fat.end()), changed_fat.end());
    for (std::size_t j : changed_fat) {
      if (fat_moved[j]) continue;
      const std::size_t from = j * per;
      if (std::equal(fat.begin() + static_cast<std::ptrdiff_t>(from),
                     fat.begin() + static_cast<std::ptrdiff_t>(from + per),
                     old.fat.begin() + static_cast<std::ptrdiff_t>(from))) {
        continue;
      }
      set(fat_at[j], kFree);
      fat_at[j] = alloc(Kind::kFat, j);
      set(fat_at[j], kFatSect);
      fat_moved[j] = true;
      changed = true;
    }
    const std::size_t difat_count =
        fat_at.size() > kHeaderDifat ? Ceil(fat_at.size() - kHeaderDifat, per - 1) : 0;
    while (difat_at.size() < difat_count) {
      const std::uint32_t s = alloc(Kind::kDifat, difat_at.size());
      difat_at.push_back(s);
      difat_moved.push_back(true);
      set(s, kDifSect);
      changed = true;
    }
    for (std::size_t d = 0; d < old.difat_sectors.size(); ++d) {
      if (difat_moved[d]) continue;
      if (DifatContent(fat_at, difat_at, d, per) ==
          DifatContent(old.fat_sectors, old.difat_sectors, d, per)) {
        continue;
      }
      set(difat_at[d], kFree);
      difat_at[d] = alloc(Kind::kDifat, d);
      set(difat_at[d], kDifSect);
      difat_moved[d] = true;
      changed = true;
    }
  }
  fat.resize(fat_at.size() * per, kFree);

  // Sectors in use: the count below first_new kept from the last save (or
  // counted once), moved by the entries written and the sectors added.
  std::size_t live = old.live_end == first_new ? old.live : 0;
  if (old.live_end != first_new) {
    for (std::size_t s = 0; s < first_new && s < old.fat.size(); ++s) live += old.fat[s] != kFree;
  }
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
  for (std::size_t s : touched) {
    if (s >= first_new) break;
    const bool was = s < old.fat.size() && old.fat[s] != kFree;
    live = live - (was ? 1 : 0) + (fat[s] != kFree ? 1 : 0);
  }
  for (std::size_t s = first_new; s < next; ++s) live += fat[s] != kFree;
  if ((next - live) * 4 > next) return std::nullopt;  // better written anew

  InPlaceUpdate u;
  u.offset = static_cast<std::uint64_t>(first_new + 1) * ss;
  u.sectors = std::move(made);
  u.stream_size = new_size;
  u.header = old.header;
  u.old_header = old.header;
  std::uint8_t* h = u.header.data();
  Put32(h + 44, static_cast<std::uint32_t>(fat_at.size()));
  Put32(h + 48, dir_chain[0]);
  Put32(h + 68, difat_at.empty() ? kEnd : difat_at[0]);
  Put32(h + 72, static_cast<std::uint32_t>(difat_at.size()));
  for (std::size_t j = 0; j < kHeaderDifat; ++j) {
    Put32(h + 76 + 4 * j, j < fat_at.size() ? fat_at[j] : kFree);
  }

  // The old layout but for what changed; its FAT and the stream's chain are
  // not copied only to be replaced.
  u.layout.known = old.known;
  u.layout.sector = old.sector;
  u.layout.major = old.major;
  u.layout.chains.resize(old.chains.size());
  for (std::size_t i = 0; i < old.chains.size(); ++i) {
    if (i != entry) u.layout.chains[i] = old.chains[i];
  }
  u.layout.header = u.header;
  u.layout.fat = std::move(fat);
  u.layout.fat_sectors = std::move(fat_at);
  u.layout.difat_sectors = std::move(difat_at);
  u.layout.dir_chain = std::move(dir_chain);
  u.layout.file_sectors = next;
  u.layout.live = live;
  u.layout.live_end = next;
  u.layout.chains[entry] = std::move(stream_chain);
  u.directory = std::move(directory);
  return u;
}

void RenderSectors(const InPlaceUpdate& u, std::size_t first, std::size_t count,
                   const StreamReader& read, std::uint8_t* out) {
  const CfbLayout& l = u.layout;
  const std::size_t ss = l.sector;
  const std::size_t per = ss / 4;
  const std::size_t per_dir = ss / 128;
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
            std::memcpy(out + 128 * k, u.directory[what * per_dir + k].data(), 128);
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
