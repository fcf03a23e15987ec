#include "platform/workbook/internal/book_file.h"

#include <cerrno>
#include <string_view>

#include "platform/workbook/error.h"

namespace vt::workbook::detail {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, const std::string& what,
                       const system::SystemError& e) {
  throw Error(file, what + ": " + e.code().message());
}

std::string Folder(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

}  // namespace

std::string ReadBookFile(const std::filesystem::path& file, FileStamp& stamp) {
  try {
    return system::CurrentEnv().ReadFileStamped(file.string(), stamp);
  } catch (const system::SystemError& e) {
    if (e.code().value() == EISDIR || e.code().value() == EINVAL) {
      throw Error(file, "not a workbook: it is not an ordinary file");
    }
    Fail(file, "cannot open the workbook", e);
  }
}

std::optional<FileStamp> StatBookFile(const std::filesystem::path& file) {
  try {
    return system::CurrentEnv().StatFile(file.string());
  } catch (const system::SystemError& e) {
    Fail(file, "cannot examine the workbook", e);
  }
}

std::unique_ptr<system::FileLock> LockBookFile(const std::filesystem::path& file) {
  try {
    return system::CurrentEnv().LockForWriting(file.string());
  } catch (const system::SystemError& e) {
    Fail(file, "cannot lock the folder " + Folder(file), e);
  }
}

void WriteBookFile(const std::filesystem::path& file, std::span<const std::uint8_t> data) {
  system::Env& env = system::CurrentEnv();
  std::unique_ptr<system::AtomicFile> out;
  try {
    out = env.NewAtomicFile(file.string());
  } catch (const system::SystemError& e) {
    Fail(file, "cannot create a temporary file in " + Folder(file), e);
  }
  try {
    out->Append(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  } catch (const system::SystemError& e) {
    Fail(file, "cannot write the workbook", e);
  }
  try {
    out->Sync();
  } catch (const system::SystemError& e) {
    Fail(file, "cannot flush the workbook to disk", e);
  }
  try {
    out->Commit();
  } catch (const system::SystemError& e) {
    Fail(file, "cannot replace the workbook", e);
  }
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
  try {
    system::CurrentEnv().RemoveStaleTemporaries(file.string());
  } catch (const system::SystemError&) {
    // Litter left by a dead writer never stops a save.
  }
}

}  // namespace vt::workbook::detail
