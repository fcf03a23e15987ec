#include "platform/workbook/internal/sst.h"

#include <algorithm>

#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

SharedStrings ReadSst(const std::vector<Segment>& segments, StringPool& pool, std::size_t* left) {
  ContinuedReader in(segments.data(), segments.size(), "the shared string table");
  SharedStrings sst;
  sst.total_refs = in.U32();
  std::uint32_t unique = in.U32();
  // Every string takes at least three bytes: a count cannot outgrow the data.
  sst.texts.reserve(std::min<std::size_t>(unique, in.Remaining() / 3 + 1));
  for (std::uint32_t i = 0; i < unique; ++i) {
    if (in.Remaining() == 0) {
      throw FormatError("the shared string table holds " + std::to_string(i) +
                        " strings but declares " + std::to_string(unique));
    }
    std::uint16_t cch = in.U16();
    std::uint8_t flags = in.U8();
    const bool rich = (flags & string_flag::kRich) != 0;
    const bool phonetic = (flags & string_flag::kPhonetic) != 0;
    std::uint16_t runs = rich ? in.U16() : 0;
    std::uint32_t ext = phonetic ? in.U32() : 0;
    sst.texts.push_back(in.Chars(cch, HighByte(flags), pool));
    if (rich || phonetic) {
      SstExtra extra;
      extra.index = i;
      extra.runs = runs;
      extra.has_ext = phonetic;
      in.Read(std::size_t{runs} * 4, extra.run_bytes);
      in.Read(ext, extra.ext_bytes);
      sst.extras.push_back(std::move(extra));
    }
  }
  if (left) *left = in.Remaining();
  return sst;
}

namespace {

class ContinuedWriter {
 public:
  ContinuedWriter(Bytes& out, std::uint16_t type) : out_(out) { Begin(type); }

  std::size_t Room() const { return kMaxRecordData - (out_.size() - start_ - 4); }
  std::size_t OffsetInRecord() const { return out_.size() - start_; }
  void Continue() {
    Finish();
    Begin(rt::kContinue);
  }
  void Finish() {
    Put16(out_.data() + start_ + 2, static_cast<std::uint32_t>(out_.size() - start_ - 4));
  }

 private:
  void Begin(std::uint16_t type) {
    start_ = out_.size();
    Append16(out_, type);
    Append16(out_, 0);
  }

  Bytes& out_;
  std::size_t start_ = 0;
};

}  // namespace

namespace {

// Strings `texts[i]` (index `first + i` in the table) written through `w`;
// every `per_bucket`-th one gets an EXTSST entry, its position counted from
// `base`, the stream position of `stream`'s first byte.
void EncodeStrings(ContinuedWriter& w, Bytes& stream, const std::vector<std::string_view>& texts,
                   const std::vector<SstExtra>& extras, std::size_t first, std::size_t per_bucket,
                   std::size_t base, Bytes& extsst) {
  std::u16string units;
  auto extra = extras.begin();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::size_t index = first + i;
    const SstExtra* x = nullptr;
    while (extra != extras.end() && extra->index < index) ++extra;
    if (extra != extras.end() && extra->index == index) x = &*extra++;
    Utf8ToUtf16(texts[i], units);
    const bool high = BeyondLatin1(units);
    std::size_t width = high ? 2 : 1;
    std::size_t header = 3u + (x && x->runs ? 2u : 0u) + (x && x->has_ext ? 4u : 0u);
    // A string's header and its first character never part.
    std::size_t lead = units.empty() ? 0 : (units[0] >= 0xD800 && units[0] < 0xDC00 ? 2 : 1);
    if (w.Room() < header + lead * width) w.Continue();
    if (index % per_bucket == 0) {
      Append32(extsst, static_cast<std::uint32_t>(base + stream.size()));
      Append16(extsst, static_cast<std::uint32_t>(w.OffsetInRecord()));
      Append16(extsst, 0);
    }
    const auto flags =
        static_cast<std::uint8_t>(CharsFlag(high) | (x && x->runs ? string_flag::kRich : 0) |
                                  (x && x->has_ext ? string_flag::kPhonetic : 0));
    Append16(stream, static_cast<std::uint32_t>(units.size()));
    stream.push_back(flags);
    if (x && x->runs) Append16(stream, x->runs);
    if (x && x->has_ext) Append32(stream, static_cast<std::uint32_t>(x->ext_bytes.size()));
    std::size_t pos = 0;
    while (pos < units.size()) {
      std::size_t take = std::min(w.Room() / width, units.size() - pos);
      // Keep a surrogate pair in one record.
      if (take > 0 && pos + take < units.size() && units[pos + take - 1] >= 0xD800 &&
          units[pos + take - 1] < 0xDC00) {
        --take;
      }
      if (take == 0) {
        w.Continue();
        stream.push_back(CharsFlag(high));
        continue;
      }
      AppendChars(stream, std::u16string_view(units).substr(pos, take), high);
      pos += take;
    }
    if (x) {
      for (std::size_t r = 0; r + 4 <= x->run_bytes.size(); r += 4) {
        if (w.Room() < 4) w.Continue();
        AppendBytes(stream, x->run_bytes.data() + r, 4);
      }
      std::size_t done = 0;
      while (done < x->ext_bytes.size()) {
        if (w.Room() == 0) w.Continue();
        std::size_t take = std::min(w.Room(), x->ext_bytes.size() - done);
        AppendBytes(stream, x->ext_bytes.data() + done, take);
        done += take;
      }
    }
  }
  w.Finish();
}

}  // namespace

std::size_t SstBucketSize(std::size_t strings) {
  return std::max<std::size_t>(8, (strings + 127) / 128);
}

void WriteSst(const SharedStrings& sst, Bytes& stream) {
  const std::size_t n = sst.texts.size();
  const std::size_t per_bucket = SstBucketSize(n);
  Bytes extsst;
  Append16(extsst, static_cast<std::uint32_t>(per_bucket));
  ContinuedWriter w(stream, rt::kSst);
  Append32(stream, sst.total_refs);
  Append32(stream, static_cast<std::uint32_t>(n));
  EncodeStrings(w, stream, sst.texts, sst.extras, 0, per_bucket, 0, extsst);
  AppendRecord(stream, rt::kExtSst, extsst);
}

void AppendSstStrings(const std::vector<std::string_view>& texts, std::size_t first,
                      std::size_t per_bucket, std::size_t base, Bytes& out, Bytes& extsst) {
  ContinuedWriter w(out, rt::kContinue);
  EncodeStrings(w, out, texts, {}, first, per_bucket, base, extsst);
}

}  // namespace vt::workbook::detail
