// libFuzzer target for veltrano-dict's XLIFF reader: any bytes either read as
// XLIFF units or fail with the reader's Failure, which names the file and a
// line of the input; every unit read has an id and stands on a line of it.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dict/failure.h"
#include "dict/xliff_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  try {
    for (const vt::dict::XliffFile& file : vt::dict::ReadXliff(bytes, "fuzz.xlf")) {
      if (file.line < 1 || file.line > lines) std::abort();
      for (const vt::dict::Unit& unit : file.units) {
        if (unit.id.empty() || unit.line < file.line || unit.line > lines) std::abort();
      }
    }
  } catch (const vt::dict::Failure& e) {
    if (std::string_view(e.what()).rfind("fuzz.xlf:", 0) != 0) std::abort();
  }
  return 0;
}
