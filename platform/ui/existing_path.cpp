#include "platform/ui/existing_path.h"

#include <filesystem>
#include <system_error>

#include "platform/system/utf8_path.h"

namespace vt::ui {
namespace {

enum class Kind { None, File, Directory };

Kind KindOf(const std::string& word) {
  std::error_code error;
  const auto status = std::filesystem::status(system::PathFromUtf8(word), error);
  if (error || !std::filesystem::exists(status)) return Kind::None;
  return std::filesystem::is_directory(status) ? Kind::Directory : Kind::File;
}

}  // namespace

const CLI::Validator& ExistingFile() {
  static const CLI::Validator validator(
      [](std::string& word) -> std::string {
        switch (KindOf(word)) {
          case Kind::None:
            return "File does not exist: " + word;
          case Kind::Directory:
            return "File is actually a directory: " + word;
          case Kind::File:
            break;
        }
        return {};
      },
      "FILE");
  return validator;
}

const CLI::Validator& ExistingDirectory() {
  static const CLI::Validator validator(
      [](std::string& word) -> std::string {
        switch (KindOf(word)) {
          case Kind::None:
            return "Directory does not exist: " + word;
          case Kind::File:
            return "Directory is actually a file: " + word;
          case Kind::Directory:
            break;
        }
        return {};
      },
      "DIR");
  return validator;
}

}  // namespace vt::ui
