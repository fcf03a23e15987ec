// Writes the type library that widl made with the default "no object" of each
// by-reference interface pointer as its readers understand it.
//   tlb-null-defaults IN.tlb OUT.tlb
//
// widl gives `[optional, defaultvalue(0)] IDispatch** x` a default of the
// variant type VT_PTR, which no reader can copy: ITypeInfo::GetFuncDesc fails
// with DISP_E_BADVARTYPE, and a caller binding early finds no default. Its
// parameter's type says pointer to VT_DISPATCH (or VT_UNKNOWN); the default
// becomes that type's null, the Nothing a caller passes. Nothing else of the
// file changes, and a VT_PTR default on any other type is refused.
//
// The layout read (MSFT, as widl writes it): the header, the typeinfo offsets,
// the segment directory; each typeinfo's function records, where a record
// whose parameters have defaults ends with one default a parameter and then
// the parameters (type, name, flags). A default inside 26 bits is written in
// place: the high bit, the variant type in bits 26-30, the value below.

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kMagic = 0x5446534D;  // "MSFT"
constexpr std::size_t kHeaderSize = 0x54;
constexpr std::uint32_t kHelpDllFlag = 0x100;
constexpr std::size_t kSegments = 15;
constexpr std::size_t kTypeInfoSegment = 0;
constexpr std::size_t kTypeDescSegment = 9;
constexpr std::uint32_t kHasDefaults = 0x1000;  // in a function record's FKCCIC
constexpr std::uint32_t kParamHasDefault = 0x20;
constexpr std::uint32_t kPtr = 26, kDispatch = 9, kUnknown = 13;

constexpr std::uint32_t InPlace(std::uint32_t vt) { return 0x80000000u | (vt << 26); }

class TypeLibrary {
 public:
  explicit TypeLibrary(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

  void RewriteNullPointerDefaults() {
    if (Read32(0) != kMagic) throw std::runtime_error("not a type library (no MSFT header)");
    const std::uint32_t count = Read32(0x20);
    std::size_t at = kHeaderSize + ((Read32(0x14) & kHelpDllFlag) ? 4 : 0);
    const std::size_t offsets = at;
    at += 4 * std::size_t{count};
    for (std::size_t i = 0; i < kSegments; ++i) segments_.push_back(Read32(at + 16 * i));
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t base = segments_[kTypeInfoSegment] + Read32(offsets + 4 * i);
      const std::uint32_t functions = Read32(base + 0x18) & 0xFFFF;
      if (functions > 0) RewriteFunctions(Read32(base + 4) + 4, functions);
    }
  }

  const std::vector<unsigned char>& bytes() const { return bytes_; }

 private:
  void RewriteFunctions(std::size_t record, std::uint32_t functions) {
    for (std::uint32_t f = 0; f < functions; ++f) {
      const std::size_t size = Read32(record) & 0xFFFF;
      const std::size_t arguments = Read32(record + 20) & 0xFFFF;
      const bool has_defaults = (Read32(record + 16) & kHasDefaults) != 0;
      if (size < 24 + (has_defaults ? 16 : 12) * arguments) Fail("a short function record", record);
      if (has_defaults) {
        const std::size_t defaults = record + size - 16 * arguments;
        const std::size_t parameters = record + size - 12 * arguments;
        for (std::size_t p = 0; p < arguments; ++p) {
          const std::size_t parameter = parameters + 12 * p;
          const std::size_t value = defaults + 4 * p;
          if (!(Read32(parameter + 8) & kParamHasDefault) || Read32(value) != InPlace(kPtr)) {
            continue;
          }
          const std::uint32_t pointee = PointeeOf(Read32(parameter));
          if (pointee != kDispatch && pointee != kUnknown) {
            Fail("a null pointer default on a parameter that is no interface pointer", parameter);
          }
          Write32(value, InPlace(pointee));
        }
      }
      record += size;
    }
  }

  // The variant type a by-reference parameter's type points to; 0 when it is
  // no pointer to a base type.
  std::uint32_t PointeeOf(std::uint32_t type) const {
    if (type & 0x80000000u) return 0;  // a base type itself
    const std::size_t description = segments_[kTypeDescSegment] + type;
    if ((Read32(description) & 0xFFFF) != kPtr) return 0;
    const std::uint32_t target = Read32(description + 4);
    return (target & 0x80000000u) ? (target & 0xFFFF) : 0;
  }

  std::uint32_t Read32(std::size_t at) const {
    if (at > bytes_.size() || bytes_.size() - at < 4) Fail("a field beyond the end", at);
    return std::uint32_t{bytes_[at]} | std::uint32_t{bytes_[at + 1]} << 8 |
           std::uint32_t{bytes_[at + 2]} << 16 | std::uint32_t{bytes_[at + 3]} << 24;
  }
  void Write32(std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
      bytes_[at + i] = static_cast<unsigned char>(value >> (8 * i));
  }
  [[noreturn]] static void Fail(const std::string& what, std::size_t at) {
    throw std::runtime_error(what + " at offset " + std::to_string(at));
  }

  std::vector<unsigned char> bytes_;
  std::vector<std::uint32_t> segments_;  // their offsets in the file
};

}  // namespace

// Runs on the Linux machine that builds the Windows library.
int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tlb-null-defaults IN.tlb OUT.tlb\n";
    return 2;
  }
  const std::filesystem::path in = argv[1], out = argv[2];
  std::filesystem::path partial = out;
  partial += ".partial";
  try {
    std::ifstream file(in, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read it");
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    TypeLibrary library(std::move(bytes));
    library.RewriteNullPointerDefaults();
    std::ofstream written(partial, std::ios::binary | std::ios::trunc);
    written.write(reinterpret_cast<const char*>(library.bytes().data()),
                  static_cast<std::streamsize>(library.bytes().size()));
    written.close();
    if (!written) throw std::runtime_error("cannot write " + partial.string());
    std::filesystem::rename(partial, out);
  } catch (const std::exception& e) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    std::cerr << "tlb-null-defaults: " << in.string() << ": " << e.what() << '\n';
    return 1;
  }
  return 0;
}
