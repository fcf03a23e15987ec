#include "platform/workbook/error.h"

#include "platform/system/utf8_path.h"

namespace vt::workbook {

namespace {
std::string Compose(const std::filesystem::path& file, std::string_view what) {
  std::string message = "\"";
  message += system::Utf8FromPath(file);
  message += "\": ";
  message += what;
  return message;
}
}  // namespace

Error::Error(const std::filesystem::path& file, std::string_view what)
    : std::runtime_error(Compose(file, what)) {}

}  // namespace vt::workbook
