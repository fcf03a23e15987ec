#include "platform/workbook/internal/cfb.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vt::workbook::detail {

namespace {

constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kMiniCutoff = 4096;
constexpr std::size_t kMiniSector = 64;
constexpr std::size_t kHeaderDifat = 109;
constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

char16_t Fold(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

[[noreturn]] void Damaged(const std::string& what) {
  throw FormatError("damaged compound file: " + what);
}

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  void ReadHeader() {
    const std::uint8_t* h = data_;
    std::uint16_t shift = Get16(h + 30);
    if (shift != 9 && shift != 12) Damaged("sector size 2^" + std::to_string(shift));
    sector_ = std::size_t{1} << shift;
    if (Get16(h + 32) != 6) Damaged("mini sector size is not 64 bytes");
    major_ = Get16(h + 26);
    sectors_ = size_ > sector_ ? (size_ - sector_ + sector_ - 1) / sector_ : 0;
  }

  // The sector's bytes, zero-filled past a short last sector.
  void CopySector(std::uint32_t n, std::uint8_t* out) const {
    if (n >= sectors_) Damaged("sector " + std::to_string(n) + " lies past the end of the file");
    std::size_t at = (static_cast<std::size_t>(n) + 1) * sector_;
    std::size_t have = std::min(sector_, size_ - at);
    std::memcpy(out, data_ + at, have);
    std::memset(out + have, 0, sector_ - have);
  }

  void ReadFat() {
    const std::uint8_t* h = data_;
    std::uint32_t fat_count = Get32(h + 44);
    if (fat_count > sectors_) Damaged("more FAT sectors than the file holds");
    std::vector<std::uint32_t> fat_sectors;
    for (std::size_t i = 0; i < kHeaderDifat && fat_sectors.size() < fat_count; ++i) {
      fat_sectors.push_back(Get32(h + 76 + 4 * i));
    }
    std::uint32_t difat = Get32(h + 68);
    std::size_t per = sector_ / 4 - 1;
    Bytes buffer(sector_);
    std::size_t guard = 0;
    while (fat_sectors.size() < fat_count) {
      if (difat == kEndOfChain || difat == kFreeSect) Damaged("DIFAT chain ends early");
      if (++guard > sectors_) Damaged("DIFAT chain loops");
      difat_sectors_.push_back(difat);
      CopySector(difat, buffer.data());
      for (std::size_t i = 0; i < per && fat_sectors.size() < fat_count; ++i) {
        fat_sectors.push_back(Get32(buffer.data() + 4 * i));
      }
      difat = Get32(buffer.data() + 4 * per);
    }
    fat_sectors_ = fat_sectors;
    fat_.resize(fat_sectors.size() * (sector_ / 4));
    auto* out = reinterpret_cast<std::uint8_t*>(fat_.data());
    for (std::size_t i = 0; i < fat_sectors.size(); ++i) {
      CopySector(fat_sectors[i], buffer.data());
      std::memcpy(out + i * sector_, buffer.data(), sector_);
    }
    if constexpr (std::endian::native != std::endian::little) {
      for (auto& v : fat_) v = Get32(reinterpret_cast<std::uint8_t*>(&v));
    }
    claimed_.assign(fat_.size(), 0);
  }

  Bytes ReadChain(std::uint32_t start, std::uint64_t size, bool bounded,
                  std::vector<std::uint32_t>* sectors = nullptr) {
    if (bounded && size > static_cast<std::uint64_t>(sectors_) * sector_) {
      Damaged("a stream claims more bytes than the file holds");
    }
    Bytes out;
    // Room to grow in place (address space only until used): a save appends
    // to the stream it keeps.
    if (bounded) out.reserve(static_cast<std::size_t>(size + size / 4 + sector_));
    std::uint32_t s = start;
    while (s != kEndOfChain && (!bounded || out.size() < size)) {
      if (s >= fat_.size()) Damaged("sector chain leaves the FAT at sector " + std::to_string(s));
      // A sector in two chains, or twice in one, means a damaged FAT.
      if (claimed_[s]) Damaged("sector " + std::to_string(s) + " is used twice");
      claimed_[s] = 1;
      if (sectors) sectors->push_back(s);
      std::size_t at = out.size();
      out.resize(at + sector_);
      CopySector(s, out.data() + at);
      s = fat_[s];
    }
    if (bounded) {
      if (out.size() < size) Damaged("a stream is shorter than its directory entry says");
      out.resize(static_cast<std::size_t>(size));
    }
    return out;
  }

  Bytes ReadMini(std::uint32_t start, std::size_t size) {
    Bytes out;
    out.reserve(size);
    std::uint32_t s = start;
    while (out.size() < size) {
      if (s >= minifat_.size()) Damaged("mini sector chain leaves the mini FAT");
      if (mini_claimed_[s]) Damaged("mini sector " + std::to_string(s) + " is used twice");
      mini_claimed_[s] = 1;
      std::size_t at = static_cast<std::size_t>(s) * kMiniSector;
      if (at + kMiniSector > ministream_.size()) Damaged("mini sector past the mini stream");
      std::size_t take = std::min(kMiniSector, size - out.size());
      out.insert(out.end(), ministream_.begin() + static_cast<std::ptrdiff_t>(at),
                 ministream_.begin() + static_cast<std::ptrdiff_t>(at + take));
      s = minifat_[s];
    }
    return out;
  }

  CompoundFile Read() {
    ReadHeader();
    ReadFat();
    CompoundFile file;
    Bytes dir = ReadChain(Get32(data_ + 48), 0, false, &file.layout.dir_chain);
    std::size_t count = dir.size() / 128;
    if (count == 0) Damaged("no directory");
    file.entries.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      CfbEntry& e = file.entries[i];
      std::memcpy(e.raw.data(), dir.data() + i * 128, 128);
      e.type = e.raw[66];
      std::size_t name_bytes = std::min<std::size_t>(Get16(e.raw.data() + 64), 64);
      for (std::size_t k = 0; k + 1 < name_bytes; k += 2) {
        char16_t c = static_cast<char16_t>(Get16(e.raw.data() + k));
        if (c == 0) break;
        e.name.push_back(c);
      }
    }
    if (file.entries[0].type != 5) Damaged("the first directory entry is not the root");
    MarkTree(file);

    const CfbEntry& root = file.entries[0];
    std::uint32_t minifat_start = Get32(data_ + 60);
    if (minifat_start != kEndOfChain && minifat_start != kFreeSect) {
      Bytes raw = ReadChain(minifat_start, 0, false);
      minifat_.resize(raw.size() / 4);
      for (std::size_t i = 0; i < minifat_.size(); ++i) minifat_[i] = Get32(raw.data() + 4 * i);
    }
    mini_claimed_.assign(minifat_.size(), 0);
    ministream_ = ReadChain(Get32(root.raw.data() + 116), StreamSize(root), true);

    file.layout.chains.resize(file.entries.size());
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
      CfbEntry& e = file.entries[i];
      if (!e.in_tree || e.type != 2) continue;
      std::uint64_t size = StreamSize(e);
      std::uint32_t start = Get32(e.raw.data() + 116);
      if (size < kMiniCutoff) {
        e.data = ReadMini(start, static_cast<std::size_t>(size));
      } else {
        e.data = ReadChain(start, size, true, &file.layout.chains[i]);
      }
    }
    CfbLayout& l = file.layout;
    l.known = true;
    l.sector = sector_;
    l.major = major_;
    std::memcpy(l.header.data(), data_, l.header.size());
    l.fat = fat_;
    l.fat_sectors = std::move(fat_sectors_);
    l.difat_sectors = std::move(difat_sectors_);
    l.file_sectors = sectors_;
    return file;
  }

 private:
  std::uint64_t StreamSize(const CfbEntry& e) const {
    // Version 3 files may leave garbage in the high half of the size.
    return major_ == 3 ? Get32(e.raw.data() + 120) : Get64(e.raw.data() + 120);
  }

  static void MarkTree(CompoundFile& file) {
    std::vector<std::pair<std::uint32_t, std::size_t>> stack;  // entry, parent
    file.entries[0].in_tree = true;
    stack.emplace_back(Get32(file.entries[0].raw.data() + 76), 0);
    while (!stack.empty()) {
      auto [id, parent] = stack.back();
      stack.pop_back();
      if (id == kNoStream) continue;
      if (id >= file.entries.size()) Damaged("directory entry " + std::to_string(id) + " missing");
      CfbEntry& e = file.entries[id];
      if (e.in_tree) Damaged("directory tree loops");
      if (e.type != 1 && e.type != 2) Damaged("directory tree holds an unused entry");
      e.in_tree = true;
      e.parent = parent;
      stack.emplace_back(Get32(e.raw.data() + 68), parent);
      stack.emplace_back(Get32(e.raw.data() + 72), parent);
      if (e.type == 1) stack.emplace_back(Get32(e.raw.data() + 76), id);
    }
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t sector_ = 512;
  std::size_t sectors_ = 0;
  std::uint16_t major_ = 3;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> fat_sectors_;
  std::vector<std::uint32_t> difat_sectors_;
  std::vector<std::uint32_t> minifat_;
  std::vector<std::uint8_t> claimed_;
  std::vector<std::uint8_t> mini_claimed_;
  Bytes ministream_;
};

std::array<std::uint8_t, 128> EmptyEntry() {
  std::array<std::uint8_t, 128> raw{};
  Put32(raw.data() + 68, kNoStream);
  Put32(raw.data() + 72, kNoStream);
  Put32(raw.data() + 76, kNoStream);
  return raw;
}

std::size_t Ceil(std::size_t n, std::size_t d) { return (n + d - 1) / d; }

}  // namespace

std::size_t CompoundFile::FindRootStream(std::u16string_view name) const {
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const CfbEntry& e = entries[i];
    if (e.in_tree && e.type == 2 && e.parent == 0 && SameName(e.name, name)) return i;
  }
  return entries.size();
}

CompoundFile ReadCompoundFile(const std::uint8_t* data, std::size_t size) {
  if (size < 512 || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
    throw FormatError("not a compound file");
  }
  return Reader(data, size).Read();
}

CfbLayout WriteCompoundFile(const CompoundFile& file, std::size_t external,
                            std::size_t external_size, const StreamReader& read,
                            const ByteSink& sink, std::vector<CfbEntry>& entries_out) {
  constexpr std::size_t kSector = 512;
  constexpr std::size_t kPerFat = kSector / 4;
  const std::size_t n = file.entries.size();
  auto size_of = [&](std::size_t i) {
    return i == external ? external_size : file.entries[i].data.size();
  };

  // Streams below the cutoff share the mini stream; the rest get sectors.
  std::vector<std::uint32_t> start(n, kEndOfChain);
  std::vector<std::uint32_t> minifat;
  std::size_t big_sectors = 0;
  std::size_t mini_sectors = 0;
  for (std::size_t i = 1; i < n; ++i) {
    const CfbEntry& e = file.entries[i];
    if (!e.in_tree || e.type != 2 || size_of(i) == 0) continue;
    if (size_of(i) >= kMiniCutoff) {
      big_sectors += Ceil(size_of(i), kSector);
    } else {
      std::size_t k = Ceil(size_of(i), kMiniSector);
      start[i] = static_cast<std::uint32_t>(mini_sectors);
      for (std::size_t j = 0; j < k; ++j) {
        minifat.push_back(j + 1 < k ? static_cast<std::uint32_t>(mini_sectors + j + 1)
                                    : kEndOfChain);
      }
      mini_sectors += k;
    }
  }
  const std::size_t ministream_bytes = mini_sectors * kMiniSector;
  const std::size_t ministream_sectors = Ceil(ministream_bytes, kSector);
  const std::size_t minifat_sectors = Ceil(minifat.size() * 4, kSector);
  const std::size_t dir_sectors = Ceil(n * 128, kSector);
  const std::size_t data_sectors = big_sectors + ministream_sectors + minifat_sectors + dir_sectors;
  std::size_t fat_sectors = 1, difat_sectors = 0;
  for (;;) {
    std::size_t total = data_sectors + fat_sectors + difat_sectors;
    std::size_t need_fat = Ceil(total, kPerFat);
    std::size_t need_difat =
        need_fat > kHeaderDifat ? Ceil(need_fat - kHeaderDifat, kPerFat - 1) : 0;
    if (need_fat <= fat_sectors && need_difat <= difat_sectors) break;
    fat_sectors = std::max(fat_sectors, need_fat);
    difat_sectors = std::max(difat_sectors, need_difat);
  }
  const std::size_t total = data_sectors + fat_sectors + difat_sectors;
  CfbLayout layout;
  layout.known = true;
  layout.sector = kSector;
  layout.major = 3;
  layout.file_sectors = total;
  layout.chains.resize(n);
  std::vector<std::uint32_t>& fat = layout.fat;
  fat.assign(fat_sectors * kPerFat, kFreeSect);
  std::size_t next = 0;
  auto chain = [&fat, &next](std::size_t count, std::vector<std::uint32_t>* sectors) {
    std::size_t first = next;
    for (std::size_t j = 0; j < count; ++j) {
      fat[next + j] = j + 1 < count ? static_cast<std::uint32_t>(next + j + 1) : kEndOfChain;
      if (sectors) sectors->push_back(static_cast<std::uint32_t>(next + j));
    }
    next += count;
    return first;
  };
  for (std::size_t i = 1; i < n; ++i) {
    const CfbEntry& e = file.entries[i];
    if (!e.in_tree || e.type != 2 || size_of(i) < kMiniCutoff) continue;
    start[i] = static_cast<std::uint32_t>(chain(Ceil(size_of(i), kSector), &layout.chains[i]));
  }
  std::uint32_t ministream_start = kEndOfChain;
  if (ministream_sectors) {
    ministream_start = static_cast<std::uint32_t>(chain(ministream_sectors, nullptr));
  }
  std::uint32_t minifat_start = kEndOfChain;
  if (minifat_sectors) minifat_start = static_cast<std::uint32_t>(chain(minifat_sectors, nullptr));
  const std::size_t dir_first = chain(dir_sectors, &layout.dir_chain);
  const std::size_t fat_first = next;
  for (std::size_t j = 0; j < fat_sectors; ++j) {
    layout.fat_sectors.push_back(static_cast<std::uint32_t>(next));
    fat[next++] = kFatSect;
  }
  const std::size_t difat_first = next;
  for (std::size_t j = 0; j < difat_sectors; ++j) {
    layout.difat_sectors.push_back(static_cast<std::uint32_t>(next));
    fat[next++] = kDifSect;
  }

  std::uint8_t* h = layout.header.data();
  std::memcpy(h, kSignature, sizeof kSignature);
  Put16(h + 24, 0x003E);
  Put16(h + 26, 3);
  Put16(h + 28, 0xFFFE);
  Put16(h + 30, 9);
  Put16(h + 32, 6);
  Put32(h + 44, static_cast<std::uint32_t>(fat_sectors));
  Put32(h + 48, static_cast<std::uint32_t>(dir_first));
  Put32(h + 56, kMiniCutoff);
  Put32(h + 60, minifat_start);
  Put32(h + 64, static_cast<std::uint32_t>(minifat_sectors));
  Put32(h + 68, difat_sectors ? static_cast<std::uint32_t>(difat_first) : kEndOfChain);
  Put32(h + 72, static_cast<std::uint32_t>(difat_sectors));
  for (std::size_t j = 0; j < kHeaderDifat; ++j) {
    Put32(h + 76 + 4 * j, j < fat_sectors ? static_cast<std::uint32_t>(fat_first + j) : kFreeSect);
  }
  sink(h, kSector);

  Bytes buffer;
  auto emit_padded = [&](Bytes& bytes) {
    bytes.resize(Ceil(bytes.size(), kSector) * kSector, 0);
    sink(bytes.data(), bytes.size());
  };
  constexpr std::size_t kChunk = std::size_t{1} << 20;  // a multiple of the sector
  for (std::size_t i = 1; i < n; ++i) {
    const CfbEntry& e = file.entries[i];
    const std::size_t size = size_of(i);
    if (!e.in_tree || e.type != 2 || size < kMiniCutoff) continue;
    for (std::size_t at = 0; at < size; at += kChunk) {
      const std::size_t take = std::min(kChunk, size - at);
      if (i == external) {
        buffer.resize(take);
        read(at, take, buffer.data());
      } else {
        buffer.assign(e.data.begin() + static_cast<std::ptrdiff_t>(at),
                      e.data.begin() + static_cast<std::ptrdiff_t>(at + take));
      }
      emit_padded(buffer);
    }
  }
  if (ministream_sectors) {
    buffer.assign(ministream_sectors * kSector, 0);
    for (std::size_t i = 1; i < n; ++i) {
      const CfbEntry& e = file.entries[i];
      const std::size_t size = size_of(i);
      if (!e.in_tree || e.type != 2 || size == 0 || size >= kMiniCutoff) continue;
      std::uint8_t* to = buffer.data() + start[i] * kMiniSector;
      if (i == external) {
        read(0, size, to);
      } else {
        std::memcpy(to, e.data.data(), size);
      }
    }
    sink(buffer.data(), buffer.size());
  }
  if (minifat_sectors) {
    minifat.resize(minifat_sectors * kPerFat, kFreeSect);
    buffer.assign(minifat_sectors * kSector, 0);
    for (std::size_t j = 0; j < minifat.size(); ++j) Put32(buffer.data() + 4 * j, minifat[j]);
    sink(buffer.data(), buffer.size());
  }
  entries_out = file.entries;
  buffer.assign(dir_sectors * kSector, 0);
  for (std::size_t i = 0; i < dir_sectors * (kSector / 128); ++i) {
    std::array<std::uint8_t, 128> raw = EmptyEntry();
    if (i < n && file.entries[i].in_tree) {
      const CfbEntry& e = file.entries[i];
      raw = e.raw;
      if (e.type == 5) {
        Put32(raw.data() + 116, ministream_start);
        Put32(raw.data() + 120, static_cast<std::uint32_t>(ministream_bytes));
      } else if (e.type == 2) {
        Put32(raw.data() + 116, size_of(i) == 0 ? kEndOfChain : start[i]);
        Put32(raw.data() + 120, static_cast<std::uint32_t>(size_of(i)));
      } else {
        Put32(raw.data() + 116, 0);
        Put32(raw.data() + 120, 0);
      }
      Put32(raw.data() + 124, 0);
    }
    if (i < n) entries_out[i].raw = raw;
    std::memcpy(buffer.data() + i * 128, raw.data(), 128);
  }
  sink(buffer.data(), buffer.size());
  buffer.assign(fat_sectors * kSector, 0);
  for (std::size_t j = 0; j < fat.size(); ++j) Put32(buffer.data() + 4 * j, fat[j]);
  sink(buffer.data(), buffer.size());
  if (difat_sectors) {
    buffer.assign(difat_sectors * kSector, 0);
    for (std::size_t d = 0; d < difat_sectors; ++d) {
      std::uint8_t* sct = buffer.data() + d * kSector;
      for (std::size_t k = 0; k < kPerFat - 1; ++k) {
        std::size_t j = kHeaderDifat + d * (kPerFat - 1) + k;
        Put32(sct + 4 * k, j < fat_sectors ? static_cast<std::uint32_t>(fat_first + j) : kFreeSect);
      }
      Put32(sct + 4 * (kPerFat - 1),
            d + 1 < difat_sectors ? static_cast<std::uint32_t>(difat_first + d + 1) : kEndOfChain);
    }
    sink(buffer.data(), buffer.size());
  }
  return layout;
}

Bytes WriteCompoundFile(const CompoundFile& file) {
  Bytes out;
  std::vector<CfbEntry> entries;
  WriteCompoundFile(
      file, file.entries.size(), 0, nullptr,
      [&out](const std::uint8_t* data, std::size_t size) {
        out.insert(out.end(), data, data + size);
      },
      entries);
  return out;
}

CompoundFile NewCompoundFile(std::u16string_view stream_name, Bytes stream) {
  auto named = [](std::u16string_view name, std::uint8_t type) {
    CfbEntry e;
    e.raw = EmptyEntry();
    for (std::size_t k = 0; k < name.size() && k < 31; ++k) Put16(e.raw.data() + 2 * k, name[k]);
    Put16(e.raw.data() + 64,
          static_cast<std::uint32_t>(2 * (std::min<std::size_t>(name.size(), 31) + 1)));
    e.raw[66] = type;
    e.raw[67] = 1;  // black
    e.type = type;
    e.name = name;
    e.in_tree = true;
    return e;
  };
  CompoundFile file;
  file.entries.push_back(named(u"Root Entry", 5));
  Put32(file.entries[0].raw.data() + 76, 1);
  file.entries.push_back(named(stream_name, 2));
  file.entries[1].data = std::move(stream);
  return file;
}

}  // namespace vt::workbook::detail
