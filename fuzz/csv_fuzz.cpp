// libFuzzer target for the alarm list reader: any bytes either read as CSV or
// fail with CsvError; what reads is written, and must read back to the same
// rows.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/data/csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::shared_ptr<vt::data::Recordset> alarms;
  try {
    alarms =
        vt::data::ParseCsv(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.csv");
  } catch (const vt::data::CsvError&) {
    return 0;
  }
  const std::string written = vt::data::FormatCsv(*alarms);
  try {
    auto again = vt::data::ParseCsv(written, "again.csv");
    if (again->RecordCount() != alarms->RecordCount()) std::abort();
    if (vt::data::FormatCsv(*again) != written) std::abort();
  } catch (const vt::data::CsvError&) {
    std::abort();  // we wrote a list we cannot read
  }
  return 0;
}
