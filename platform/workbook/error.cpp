#include "platform/workbook/error.h"

namespace vt::workbook {

namespace {
std::string Compose(const std::filesystem::path& file, std::string_view what) {
  std::string message = "\"";
  message += file.string();
  message += "\": ";
  message += what;
  return message;
}
}  // namespace

Error::Error(const std::filesystem::path& file, std::string_view what)
    : std::runtime_error(Compose(file, what)) {}

}  // namespace vt::workbook
