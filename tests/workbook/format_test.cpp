// The pieces of the file format on their own: number texts, text encodings,
// the compound file and the shared string table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>

#include "platform/workbook/internal/cfb.h"
#include "platform/workbook/internal/cfb_update.h"
#include "platform/workbook/internal/number_text.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/sst.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {
namespace {

TEST(GeneralText, NumbersReadAsTheSpreadsheetShowsThem) {
  EXPECT_EQ(GeneralText(100), "100");
  EXPECT_EQ(GeneralText(1.5), "1.5");
  EXPECT_EQ(GeneralText(0.1), "0.1");
  EXPECT_EQ(GeneralText(-4.25), "-4.25");
  EXPECT_EQ(GeneralText(0), "0");
  EXPECT_EQ(GeneralText(-0.0), "0");
  EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");  // 15 significant digits, as the format keeps
  EXPECT_EQ(GeneralText(123456789012.0), "123456789012");
  EXPECT_EQ(GeneralText(1e20), "1E+20");
  EXPECT_EQ(GeneralText(1e-7), "1E-07");
}

TEST(RkValue, DecodesAllFourForms) {
  EXPECT_EQ(RkValue((100u << 2) | 2u), 100.0);         // integer
  EXPECT_EQ(RkValue((150u << 2) | 3u), 1.5);           // integer / 100
  EXPECT_EQ(RkValue(0x3FF80000u), 1.5);                // high bits of a double
  EXPECT_DOUBLE_EQ(RkValue(0x3FF80000u | 1u), 0.015);  // double / 100
  EXPECT_EQ(RkValue(static_cast<std::uint32_t>(-7 * 4) | 2u), -7.0);
}

TEST(Utf, RoundTripsEveryPlaneAndKeepsLoneSurrogates) {
  std::string text = "aé€😀𠀀";
  std::u16string units;
  ASSERT_TRUE(Utf8ToUtf16(text, units));
  EXPECT_EQ(units.size(), 1u + 1 + 1 + 2 + 2);
  std::string back(MaxUtf8Bytes(units.size()), '\0');
  back.resize(Utf16ToUtf8(units.data(), units.size(), back.data()));
  EXPECT_EQ(back, text);

  std::u16string lone = {u'a', 0xD800, u'b'};
  std::string kept(MaxUtf8Bytes(3), '\0');
  kept.resize(Utf16ToUtf8(lone.data(), lone.size(), kept.data()));
  ASSERT_TRUE(Utf8ToUtf16(kept, units));
  EXPECT_EQ(units, lone);

  EXPECT_FALSE(Utf8ToUtf16("\xC3", units));
  EXPECT_FALSE(Utf8ToUtf16("\xC0\x80", units));  // overlong
  EXPECT_FALSE(Utf8ToUtf16("\xFF", units));
}

TEST(Utf, CountsTheUnitsItWouldMake) {
  for (const std::string_view text : {"", "plain", "é", "aé€😀𠀀",
                                      "a\xED\xA0\x80"
                                      "b",
                                      "\xC3", "\xC0\x80", "\xFF", "ok\xF4\x90\x80\x80"}) {
    std::u16string units;
    const bool ok = Utf8ToUtf16(text, units);
    const std::optional<Utf16Count> counted = CountUtf16(text);
    ASSERT_EQ(counted.has_value(), ok) << text;
    if (!ok) continue;
    EXPECT_EQ(counted->units, units.size()) << text;
    EXPECT_EQ(counted->beyond_latin1,
              std::any_of(units.begin(), units.end(), [](char16_t u) { return u > 0xFF; }))
        << text;
  }
}

CompoundFile ThreeStreams(std::size_t big) {
  CompoundFile file = NewCompoundFile(u"Workbook", Bytes(big));
  for (std::size_t i = 0; i < big; ++i) file.entries[1].data[i] = static_cast<std::uint8_t>(i * 7);
  // A second, small stream (in the mini stream) as the right sibling.
  CfbEntry small = file.entries[1];
  small.name = u"\x05SummaryInformation";
  small.raw.fill(0);
  for (std::size_t k = 0; k < small.name.size(); ++k)
    Put16(small.raw.data() + 2 * k, small.name[k]);
  Put16(small.raw.data() + 64, static_cast<std::uint32_t>(2 * (small.name.size() + 1)));
  small.raw[66] = 2;
  Put32(small.raw.data() + 68, 0xFFFFFFFF);
  Put32(small.raw.data() + 72, 0xFFFFFFFF);
  Put32(small.raw.data() + 76, 0xFFFFFFFF);
  small.data = Bytes{1, 2, 3, 4, 5};
  file.entries.push_back(small);
  Put32(file.entries[1].raw.data() + 72, 2);
  return file;
}

TEST(CompoundFile, WritesWhatItReadsSmallAndLarge) {
  // 9 MB needs more than the 109 FAT sectors the header lists: DIFAT sectors.
  for (std::size_t size : {std::size_t{100}, std::size_t{5000}, std::size_t{9'000'000}}) {
    CompoundFile file = ThreeStreams(size);
    Bytes bytes = WriteCompoundFile(file);
    CompoundFile back = ReadCompoundFile(bytes.data(), bytes.size());
    std::size_t wb = back.FindRootStream(u"WORKBOOK");
    ASSERT_LT(wb, back.entries.size()) << size;
    EXPECT_EQ(back.entries[wb].data, file.entries[1].data) << size;
    std::size_t si = back.FindRootStream(u"\x05SummaryInformation");
    ASSERT_LT(si, back.entries.size());
    EXPECT_EQ(back.entries[si].data, (Bytes{1, 2, 3, 4, 5}));
    if (size > 8'000'000) {
      EXPECT_NE(Get32(bytes.data() + 72), 0u) << "DIFAT sectors expected";
    }
  }
}

// Saves that change a few bytes and rewrite a tail, made in place one after
// the other on the layout the last one left, as a book does between reads.
TEST(CompoundFile, ChangesInPlaceReadBackAndCountTheSectorsInUse) {
  std::mt19937 rng(5);
  Bytes image = WriteCompoundFile(ThreeStreams(600'000));
  CompoundFile file = ReadCompoundFile(image.data(), image.size());
  const std::size_t wb = file.FindRootStream(u"Workbook");
  Bytes stream = file.entries[wb].data;
  int in_place = 0, rewritten = 0;
  for (int round = 0; round < 120; ++round) {
    Bytes next = stream;
    const std::size_t tail = next.size() - rng() % 3000;
    next.resize(tail + rng() % 4000);
    for (std::size_t k = tail; k < next.size(); ++k) next[k] = static_cast<std::uint8_t>(rng());
    std::vector<ByteRange> patches;
    for (int p = 0; p < 2; ++p) {
      const std::size_t from = rng() % (tail - 16);
      const std::size_t to = from + 1 + rng() % 16;
      for (std::size_t k = from; k < to; ++k) next[k] ^= 0x5A;
      patches.push_back({from, to});
    }
    const std::optional<InPlaceUpdate> update =
        PlanInPlace(file, wb, stream.size(), next.size(), tail, patches);
    if (!update) {  // a quarter of the sectors dead: written anew
      ++rewritten;
      file.entries[wb].data = next;
      image = WriteCompoundFile(file);
      file = ReadCompoundFile(image.data(), image.size());
    } else {
      ++in_place;
      const CfbLayout& l = update->layout;
      const StreamReader read = [&next](std::size_t at, std::size_t n, std::uint8_t* out) {
        std::memcpy(out, next.data() + at, n);
      };
      const auto offset = static_cast<std::size_t>(update->offset);
      image.resize(std::max(image.size(), offset + update->sectors.size() * l.sector));
      RenderSectors(*update, 0, update->sectors.size(), read, image.data() + offset);
      std::copy(update->header.begin(), update->header.end(), image.begin());
      // Only the sectors holding changed bytes are written anew.
      std::set<std::size_t> dirty;
      for (const ByteRange& p : patches) {
        for (std::size_t k = p.from / l.sector; k <= (p.to - 1) / l.sector; ++k) dirty.insert(k);
      }
      for (std::size_t k = tail / l.sector; k * l.sector < next.size(); ++k) dirty.insert(k);
      std::size_t written = 0;
      for (const InPlaceUpdate::Made& m : update->sectors) {
        written += m.kind == InPlaceUpdate::Kind::kStream;
      }
      EXPECT_EQ(written, dirty.size()) << "round " << round;
      // The count of sectors in use carried from save to save is the FAT's.
      std::size_t live = 0;
      for (std::size_t s = 0; s < l.live_end; ++s) live += l.fat[s] != 0xFFFFFFFF;
      EXPECT_EQ(l.live, live) << "round " << round;
      file.layout = l;
      for (std::size_t i = 0; i < file.entries.size(); ++i) {
        file.entries[i].raw = update->directory[i];
      }
    }
    const CompoundFile back = ReadCompoundFile(image.data(), image.size());
    ASSERT_EQ(back.entries[wb].data, next) << "round " << round;
    stream = std::move(next);
  }
  EXPECT_GT(in_place, 0);
  EXPECT_GT(rewritten, 0);
}

TEST(CompoundFile, RejectsDamage) {
  Bytes bytes = WriteCompoundFile(ThreeStreams(20000));
  EXPECT_THROW(ReadCompoundFile(bytes.data(), 100), FormatError);
  Bytes bad = bytes;
  bad[0] = 'X';
  EXPECT_THROW(ReadCompoundFile(bad.data(), bad.size()), FormatError);
  // Cut inside the big stream: its chain leads past the end.
  EXPECT_THROW(ReadCompoundFile(bytes.data(), bytes.size() / 2), FormatError);
  // A FAT that loops back on itself.
  bad = bytes;
  std::uint32_t fat = Get32(bad.data() + 76);
  Put32(bad.data() + (fat + 1) * 512, 0);
  EXPECT_THROW(ReadCompoundFile(bad.data(), bad.size()), FormatError);
}

std::string Repeat(const std::string& unit, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += unit;
  return out;
}

std::vector<Segment> Segments(const Bytes& stream) {
  std::vector<Segment> out;
  RecordReader in(stream, 0);
  Record r;
  while (in.Next(r)) {
    if (r.type == rt::kSst || r.type == rt::kContinue) out.push_back({r.data, r.size});
  }
  return out;
}

TEST(SharedStrings, SplitsAcrossContinueRecordsAndReadsBack) {
  std::vector<std::string> texts;
  std::mt19937 random(7);
  for (int i = 0; i < 3000; ++i) texts.push_back("entry " + std::to_string(i));
  texts.push_back(std::string(20000, 'x'));  // spans three records
  std::string wide;
  for (int i = 0; i < 6000; ++i) wide += (i % 3 == 0) ? "😀" : "翻";  // pairs at every split
  texts.push_back(wide);
  texts.push_back("");
  texts.push_back("é at the end");
  SharedStrings sst;
  for (const auto& t : texts) sst.texts.push_back(t);
  sst.total_refs = 12345;
  SstExtra rich;
  rich.index = 1;
  rich.runs = 2;
  rich.run_bytes = {0, 0, 1, 0, 3, 0, 0, 0};
  rich.has_ext = true;
  rich.ext_bytes = Bytes(30, 9);
  sst.extras.push_back(rich);

  Bytes stream;
  WriteSst(sst, stream);
  RecordReader in(stream, 0);
  Record r;
  std::size_t records = 0;
  bool extsst = false;
  while (in.Next(r)) {
    ++records;
    EXPECT_LE(r.size, kMaxRecordData);
    extsst |= r.type == rt::kExtSst;
  }
  EXPECT_GT(records, 5u);
  EXPECT_TRUE(extsst);

  StringPool pool;
  SharedStrings back = ReadSst(Segments(stream), pool);
  ASSERT_EQ(back.texts.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(back.texts[i], texts[i]) << i;
  EXPECT_EQ(back.total_refs, 12345u);
  ASSERT_EQ(back.extras.size(), 1u);
  EXPECT_EQ(back.extras[0].run_bytes, rich.run_bytes);
  EXPECT_EQ(back.extras[0].ext_bytes, rich.ext_bytes);
}

TEST(SharedStrings, NeverSplitsASurrogatePairBetweenRecords) {
  // Readers that decode record by record (xlrd does) fail on a split pair.
  for (std::size_t shift = 0; shift < 12; ++shift) {
    SharedStrings sst;
    std::string prefix(shift, 'p');
    std::string pairs = Repeat("😀", 9000);
    sst.texts = {prefix, pairs, pairs};
    Bytes stream;
    WriteSst(sst, stream);
    RecordReader in(stream, 0);
    Record r;
    while (in.Next(r)) {
      if (r.type != rt::kSst && r.type != rt::kContinue) continue;
      ASSERT_GE(r.size, 2u);
      EXPECT_NE(Get16(r.data + r.size - 2), 0xD83Du) << "shift " << shift;
    }
    StringPool pool;
    SharedStrings back = ReadSst(Segments(stream), pool);
    EXPECT_EQ(back.texts[2], pairs);
  }
}

TEST(SharedStrings, ReadsAFlagByteThatSwitchesEncodingAtTheSplit) {
  // "abc" + "\u00E9\u4E2D": three Latin-1 characters, then UTF-16 after the split.
  Bytes sst = {1, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 'a', 'b', 'c'};
  Bytes cont = {1, 0xE9, 0x00, 0x2D, 0x4E};
  StringPool pool;
  SharedStrings back = ReadSst({{sst.data(), sst.size()}, {cont.data(), cont.size()}}, pool);
  ASSERT_EQ(back.texts.size(), 1u);
  EXPECT_EQ(back.texts[0], "abcé中");
}

TEST(SharedStrings, RejectsTablesThatLie) {
  StringPool pool;
  Bytes count_too_high = {0, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 'a'};
  EXPECT_THROW(ReadSst({{count_too_high.data(), count_too_high.size()}}, pool), FormatError);
  Bytes chars_missing = {0, 0, 0, 0, 1, 0, 0, 0, 200, 0, 0, 'a'};
  EXPECT_THROW(ReadSst({{chars_missing.data(), chars_missing.size()}}, pool), FormatError);
  Bytes huge_ext = {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
  EXPECT_THROW(ReadSst({{huge_ext.data(), huge_ext.size()}}, pool), FormatError);
}

}  // namespace
}  // namespace vt::workbook::detail
