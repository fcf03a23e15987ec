#include "platform/workbook/internal/cfb.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vt::workbook::detail {

namespace {

constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
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
    std::uint16_t shift = Get16(h + cfb_header::kSectorShift);
    if (shift != 9 && shift != 12) Damaged("sector size 2^" + std::to_string(shift));
    sector_ = std::size_t{1} << shift;
    if (Get16(h + cfb_header::kMiniSectorShift) != 6) Damaged("mini sector size is not 64 bytes");
    major_ = Get16(h + cfb_header::kMajorVersion);
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
    std::uint32_t fat_count = Get32(h + cfb_header::kFatCount);
    if (fat_count > sectors_) Damaged("more FAT sectors than the file holds");
    std::vector<std::uint32_t> fat_sectors;
    for (std::size_t i = 0; i < kHeaderDifat && fat_sectors.size() < fat_count; ++i) {
      fat_sectors.push_back(Get32(h + cfb_header::kDifat + 4 * i));
    }
    std::uint32_t difat = Get32(h + cfb_header::kDifatStart);
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
    Bytes dir =
        ReadChain(Get32(data_ + cfb_header::kDirectoryStart), 0, false, &file.layout.dir_chain);
    std::size_t count = dir.size() / kEntrySize;
    if (count == 0) Damaged("no directory");
    file.entries.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      CfbEntry& e = file.entries[i];
      std::memcpy(e.raw.data(), dir.data() + i * kEntrySize, kEntrySize);
      e.type = e.raw[cfb_entry::kType];
      std::size_t name_bytes =
          std::min<std::size_t>(Get16(e.raw.data() + cfb_entry::kNameBytes), 64);
      for (std::size_t k = 0; k + 1 < name_bytes; k += 2) {
        char16_t c = static_cast<char16_t>(Get16(e.raw.data() + k));
        if (c == 0) break;
        e.name.push_back(c);
      }
    }
    if (file.entries[0].type != kRootEntry) Damaged("the first directory entry is not the root");
    MarkTree(file);

    const CfbEntry& root = file.entries[0];
    std::uint32_t minifat_start = Get32(data_ + cfb_header::kMiniFatStart);
    if (minifat_start != kEndOfChain && minifat_start != kFreeSect) {
      Bytes raw = ReadChain(minifat_start, 0, false);
      minifat_.resize(raw.size() / 4);
      for (std::size_t i = 0; i < minifat_.size(); ++i) minifat_[i] = Get32(raw.data() + 4 * i);
    }
    mini_claimed_.assign(minifat_.size(), 0);
    ministream_ = ReadChain(Get32(root.raw.data() + cfb_entry::kStart), StreamSize(root), true);

    file.layout.chains.resize(file.entries.size());
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
      CfbEntry& e = file.entries[i];
      if (!e.in_tree || e.type != kStreamEntry) continue;
      std::uint64_t size = StreamSize(e);
      std::uint32_t start = Get32(e.raw.data() + cfb_entry::kStart);
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
    return major_ == 3 ? Get32(e.raw.data() + cfb_entry::kSize)
                       : Get64(e.raw.data() + cfb_entry::kSize);
  }

  static void MarkTree(CompoundFile& file) {
    std::vector<std::pair<std::uint32_t, std::size_t>> stack;  // entry, parent
    file.entries[0].in_tree = true;
    stack.emplace_back(Get32(file.entries[0].raw.data() + cfb_entry::kChild), 0);
    while (!stack.empty()) {
      auto [id, parent] = stack.back();
      stack.pop_back();
      if (id == kNoStream) continue;
      if (id >= file.entries.size()) Damaged("directory entry " + std::to_string(id) + " missing");
      CfbEntry& e = file.entries[id];
      if (e.in_tree) Damaged("directory tree loops");
      if (e.type != kStorageEntry && e.type != kStreamEntry)
        Damaged("directory tree holds an unused entry");
      e.in_tree = true;
      e.parent = parent;
      stack.emplace_back(Get32(e.raw.data() + cfb_entry::kLeft), parent);
      stack.emplace_back(Get32(e.raw.data() + cfb_entry::kRight), parent);
      if (e.type == kStorageEntry) stack.emplace_back(Get32(e.raw.data() + cfb_entry::kChild), id);
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

std::array<std::uint8_t, kEntrySize> EmptyEntry() {
  std::array<std::uint8_t, kEntrySize> raw{};
  Put32(raw.data() + cfb_entry::kLeft, kNoStream);
  Put32(raw.data() + cfb_entry::kRight, kNoStream);
  Put32(raw.data() + cfb_entry::kChild, kNoStream);
  return raw;
}

// A compound file written in one pass, in version 3 (512-byte sectors): the
// big streams' sectors, then the mini stream's, the mini FAT's, the
// directory's, the FAT's and the DIFAT's, all placed before the header goes out.
class Writer {
 public:
  Writer(const CompoundFile& file, std::size_t external, std::size_t external_size,
         const StreamReader& read, const ByteSink& sink)
      : file_(file),
        n_(file.entries.size()),
        external_(external),
        external_size_(external_size),
        read_(read),
        sink_(sink),
        start_(file.entries.size(), kEndOfChain) {}

  void Plan() {
    PlaceMiniStreams();
    CountSectors();
    PlaceSectors();
  }

  void WriteHeader() {
    std::uint8_t* h = layout_.header.data();
    std::memcpy(h, kSignature, sizeof kSignature);
    Put16(h + cfb_header::kMinorVersion, 0x003E);
    Put16(h + cfb_header::kMajorVersion, 3);
    Put16(h + cfb_header::kByteOrder, 0xFFFE);  // little-endian
    Put16(h + cfb_header::kSectorShift, 9);
    Put16(h + cfb_header::kMiniSectorShift, 6);
    Put32(h + cfb_header::kFatCount, static_cast<std::uint32_t>(fat_sectors_));
    Put32(h + cfb_header::kDirectoryStart, static_cast<std::uint32_t>(dir_first_));
    Put32(h + cfb_header::kMiniStreamCutoff, kMiniCutoff);
    Put32(h + cfb_header::kMiniFatStart, minifat_start_);
    Put32(h + cfb_header::kMiniFatCount, static_cast<std::uint32_t>(minifat_sectors_));
    Put32(h + cfb_header::kDifatStart,
          difat_sectors_ ? static_cast<std::uint32_t>(difat_first_) : kEndOfChain);
    Put32(h + cfb_header::kDifatCount, static_cast<std::uint32_t>(difat_sectors_));
    for (std::size_t j = 0; j < kHeaderDifat; ++j) {
      Put32(h + cfb_header::kDifat + 4 * j, FatSectorAt(j));
    }
    sink_(h, kSector);
  }

  // The big streams a megabyte at a time (a multiple of the sector).
  void WriteStreams() {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    for (std::size_t i = 1; i < n_; ++i) {
      const CfbEntry& e = file_.entries[i];
      const std::size_t size = SizeOf(i);
      if (!IsStream(e) || size < kMiniCutoff) continue;
      for (std::size_t at = 0; at < size; at += kChunk) {
        const std::size_t take = std::min(kChunk, size - at);
        if (i == external_) {
          buffer_.resize(take);
          read_(at, take, buffer_.data());
        } else {
          buffer_.assign(e.data.begin() + static_cast<std::ptrdiff_t>(at),
                         e.data.begin() + static_cast<std::ptrdiff_t>(at + take));
        }
        buffer_.resize(CeilDiv(buffer_.size(), kSector) * kSector, 0);
        sink_(buffer_.data(), buffer_.size());
      }
    }
  }

  void WriteMiniStream() {
    if (!ministream_sectors_) return;
    buffer_.assign(ministream_sectors_ * kSector, 0);
    for (std::size_t i = 1; i < n_; ++i) {
      const CfbEntry& e = file_.entries[i];
      const std::size_t size = SizeOf(i);
      if (!IsStream(e) || size == 0 || size >= kMiniCutoff) continue;
      std::uint8_t* to = buffer_.data() + start_[i] * kMiniSector;
      if (i == external_) {
        read_(0, size, to);
      } else {
        std::memcpy(to, e.data.data(), size);
      }
    }
    sink_(buffer_.data(), buffer_.size());
  }

  void WriteMiniFat() {
    if (!minifat_sectors_) return;
    minifat_.resize(minifat_sectors_ * kPerFat, kFreeSect);
    WriteNumbers(minifat_, minifat_sectors_);
  }

  // Entries as read, but for where their streams now lie; those outside the
  // tree become empty ones.
  void WriteDirectory(std::vector<CfbEntry>& entries_out) {
    entries_out = file_.entries;
    buffer_.assign(dir_sectors_ * kSector, 0);
    for (std::size_t i = 0; i < dir_sectors_ * (kSector / kEntrySize); ++i) {
      std::array<std::uint8_t, kEntrySize> raw = EmptyEntry();
      if (i < n_ && file_.entries[i].in_tree) raw = PlacedEntry(i);
      if (i < n_) entries_out[i].raw = raw;
      std::memcpy(buffer_.data() + i * kEntrySize, raw.data(), kEntrySize);
    }
    sink_(buffer_.data(), buffer_.size());
  }

  void WriteFat() { WriteNumbers(layout_.fat, fat_sectors_); }

  void WriteDifat() {
    if (!difat_sectors_) return;
    buffer_.assign(difat_sectors_ * kSector, 0);
    for (std::size_t d = 0; d < difat_sectors_; ++d) {
      std::uint8_t* sct = buffer_.data() + d * kSector;
      for (std::size_t k = 0; k < kPerFat - 1; ++k) {
        Put32(sct + 4 * k, FatSectorAt(kHeaderDifat + d * (kPerFat - 1) + k));
      }
      Put32(sct + 4 * (kPerFat - 1), d + 1 < difat_sectors_
                                         ? static_cast<std::uint32_t>(difat_first_ + d + 1)
                                         : kEndOfChain);
    }
    sink_(buffer_.data(), buffer_.size());
  }

  CfbLayout TakeLayout() { return std::move(layout_); }

 private:
  static constexpr std::size_t kSector = 512;
  static constexpr std::size_t kPerFat = kSector / 4;

  std::size_t SizeOf(std::size_t i) const {
    return i == external_ ? external_size_ : file_.entries[i].data.size();
  }
  static bool IsStream(const CfbEntry& e) { return e.in_tree && e.type == kStreamEntry; }
  std::uint32_t FatSectorAt(std::size_t j) const {
    return j < fat_sectors_ ? static_cast<std::uint32_t>(fat_first_ + j) : kFreeSect;
  }

  // Streams below the cutoff share the mini stream; the rest get sectors.
  void PlaceMiniStreams() {
    for (std::size_t i = 1; i < n_; ++i) {
      if (!IsStream(file_.entries[i]) || SizeOf(i) == 0) continue;
      if (SizeOf(i) >= kMiniCutoff) {
        big_sectors_ += CeilDiv(SizeOf(i), kSector);
        continue;
      }
      const std::size_t k = CeilDiv(SizeOf(i), kMiniSector);
      start_[i] = static_cast<std::uint32_t>(mini_sectors_);
      for (std::size_t j = 0; j < k; ++j) {
        minifat_.push_back(j + 1 < k ? static_cast<std::uint32_t>(mini_sectors_ + j + 1)
                                     : kEndOfChain);
      }
      mini_sectors_ += k;
    }
  }

  // The FAT and DIFAT count themselves: grow them until they hold every sector.
  void CountSectors() {
    ministream_sectors_ = CeilDiv(mini_sectors_ * kMiniSector, kSector);
    minifat_sectors_ = CeilDiv(minifat_.size() * 4, kSector);
    dir_sectors_ = CeilDiv(n_ * kEntrySize, kSector);
    const std::size_t data_sectors =
        big_sectors_ + ministream_sectors_ + minifat_sectors_ + dir_sectors_;
    for (;;) {
      const std::size_t total = data_sectors + fat_sectors_ + difat_sectors_;
      const std::size_t need_fat = CeilDiv(total, kPerFat);
      const std::size_t need_difat =
          need_fat > kHeaderDifat ? CeilDiv(need_fat - kHeaderDifat, kPerFat - 1) : 0;
      if (need_fat <= fat_sectors_ && need_difat <= difat_sectors_) break;
      fat_sectors_ = std::max(fat_sectors_, need_fat);
      difat_sectors_ = std::max(difat_sectors_, need_difat);
    }
    layout_.file_sectors = data_sectors + fat_sectors_ + difat_sectors_;
  }

  // The next `count` sectors chained; returns the first.
  std::size_t Chain(std::size_t count, std::vector<std::uint32_t>* sectors) {
    std::vector<std::uint32_t>& fat = layout_.fat;
    const std::size_t first = next_;
    for (std::size_t j = 0; j < count; ++j) {
      fat[next_ + j] = j + 1 < count ? static_cast<std::uint32_t>(next_ + j + 1) : kEndOfChain;
      if (sectors) sectors->push_back(static_cast<std::uint32_t>(next_ + j));
    }
    next_ += count;
    return first;
  }

  void PlaceSectors() {
    layout_.known = true;
    layout_.sector = kSector;
    layout_.major = 3;
    layout_.chains.resize(n_);
    layout_.fat.assign(fat_sectors_ * kPerFat, kFreeSect);
    for (std::size_t i = 1; i < n_; ++i) {
      if (!IsStream(file_.entries[i]) || SizeOf(i) < kMiniCutoff) continue;
      start_[i] =
          static_cast<std::uint32_t>(Chain(CeilDiv(SizeOf(i), kSector), &layout_.chains[i]));
    }
    if (ministream_sectors_) {
      ministream_start_ = static_cast<std::uint32_t>(Chain(ministream_sectors_, nullptr));
    }
    if (minifat_sectors_) {
      minifat_start_ = static_cast<std::uint32_t>(Chain(minifat_sectors_, nullptr));
    }
    dir_first_ = Chain(dir_sectors_, &layout_.dir_chain);
    fat_first_ = next_;
    for (std::size_t j = 0; j < fat_sectors_; ++j) {
      layout_.fat_sectors.push_back(static_cast<std::uint32_t>(next_));
      layout_.fat[next_++] = kFatSect;
    }
    difat_first_ = next_;
    for (std::size_t j = 0; j < difat_sectors_; ++j) {
      layout_.difat_sectors.push_back(static_cast<std::uint32_t>(next_));
      layout_.fat[next_++] = kDifSect;
    }
  }

  std::array<std::uint8_t, kEntrySize> PlacedEntry(std::size_t i) const {
    const CfbEntry& e = file_.entries[i];
    std::array<std::uint8_t, kEntrySize> raw = e.raw;
    std::uint32_t start = 0, size = 0;
    if (e.type == kRootEntry) {
      start = ministream_start_;
      size = static_cast<std::uint32_t>(mini_sectors_ * kMiniSector);
    } else if (e.type == kStreamEntry) {
      start = SizeOf(i) == 0 ? kEndOfChain : start_[i];
      size = static_cast<std::uint32_t>(SizeOf(i));
    }
    Put32(raw.data() + cfb_entry::kStart, start);
    Put32(raw.data() + cfb_entry::kSize, size);
    Put32(raw.data() + cfb_entry::kSize + 4, 0);
    return raw;
  }

  // `numbers`, 4 bytes each, filling `sectors` sectors.
  void WriteNumbers(const std::vector<std::uint32_t>& numbers, std::size_t sectors) {
    buffer_.assign(sectors * kSector, 0);
    for (std::size_t j = 0; j < numbers.size(); ++j) Put32(buffer_.data() + 4 * j, numbers[j]);
    sink_(buffer_.data(), buffer_.size());
  }

  const CompoundFile& file_;
  const std::size_t n_;
  const std::size_t external_, external_size_;
  const StreamReader& read_;
  const ByteSink& sink_;
  CfbLayout layout_;
  std::vector<std::uint32_t> start_;  // each stream's first sector, or mini sector
  std::vector<std::uint32_t> minifat_;
  std::size_t big_sectors_ = 0, mini_sectors_ = 0;
  std::size_t ministream_sectors_ = 0, minifat_sectors_ = 0, dir_sectors_ = 0;
  std::size_t fat_sectors_ = 1, difat_sectors_ = 0;
  std::size_t next_ = 0, dir_first_ = 0, fat_first_ = 0, difat_first_ = 0;
  std::uint32_t ministream_start_ = kEndOfChain, minifat_start_ = kEndOfChain;
  Bytes buffer_;
};

}  // namespace

std::size_t CompoundFile::FindRootStream(std::u16string_view name) const {
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const CfbEntry& e = entries[i];
    if (e.in_tree && e.type == kStreamEntry && e.parent == 0 && SameName(e.name, name)) return i;
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
  Writer writer(file, external, external_size, read, sink);
  writer.Plan();
  writer.WriteHeader();
  writer.WriteStreams();
  writer.WriteMiniStream();
  writer.WriteMiniFat();
  writer.WriteDirectory(entries_out);
  writer.WriteFat();
  writer.WriteDifat();
  return writer.TakeLayout();
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
    Put16(e.raw.data() + cfb_entry::kNameBytes,
          static_cast<std::uint32_t>(2 * (std::min<std::size_t>(name.size(), 31) + 1)));
    e.raw[cfb_entry::kType] = type;
    e.raw[cfb_entry::kType + 1] = 1;  // black
    e.type = type;
    e.name = name;
    e.in_tree = true;
    return e;
  };
  CompoundFile file;
  file.entries.push_back(named(u"Root Entry", kRootEntry));
  Put32(file.entries[0].raw.data() + cfb_entry::kChild, 1);
  file.entries.push_back(named(stream_name, kStreamEntry));
  file.entries[1].data = std::move(stream);
  return file;
}

}  // namespace vt::workbook::detail
