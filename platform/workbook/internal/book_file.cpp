#include "platform/workbook/internal/book_file.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string_view>

#include "platform/system/utf8_path.h"
#include "platform/workbook/error.h"

namespace vt::workbook::detail {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, const std::string& what,
                       const system::SystemError& e) {
  throw Error(file, what + ": " + e.code().message());
}

std::string Folder(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::string(".") : system::Utf8FromPath(folder);
}

}  // namespace

std::string ReadBookFile(const std::filesystem::path& file, FileStamp& stamp) {
  try {
    return system::CurrentEnv().ReadFileStamped(system::Utf8FromPath(file), stamp);
  } catch (const system::SystemError& e) {
    if (e.code().value() == EISDIR || e.code().value() == EINVAL) {
      throw Error(file, "not a workbook: it is not an ordinary file");
    }
    Fail(file, "cannot open the workbook", e);
  }
}

std::optional<FileStamp> StatBookFile(const std::filesystem::path& file) {
  try {
    return system::CurrentEnv().StatFile(system::Utf8FromPath(file));
  } catch (const system::SystemError& e) {
    Fail(file, "cannot examine the workbook", e);
  }
}

std::unique_ptr<system::FileLock> LockBookFile(const std::filesystem::path& file) {
  try {
    return system::CurrentEnv().LockForWriting(system::Utf8FromPath(file));
  } catch (const system::SystemError& e) {
    Fail(file, "cannot lock the folder " + Folder(file), e);
  }
}

namespace {

// The write-aside-then-replace save: `write` fills the temporary file, which
// is then flushed and put in the workbook's place.
void SaveAside(const std::filesystem::path& file,
               const std::function<void(system::AtomicFile&)>& write) {
  std::unique_ptr<system::AtomicFile> out;
  try {
    out = system::CurrentEnv().NewAtomicFile(system::Utf8FromPath(file));
  } catch (const system::ReadOnlyFileError&) {
    throw Error(file, "cannot save the workbook: it is read-only");
  } catch (const system::SystemError& e) {
    Fail(file, "cannot create a temporary file in " + Folder(file), e);
  }
  try {
    write(*out);
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

std::string_view Chars(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

void WriteBookFile(const std::filesystem::path& file, std::span<const std::uint8_t> data) {
  SaveAside(file, [&](system::AtomicFile& out) { out.Append(Chars(data.data(), data.size())); });
}

CfbLayout WriteBookFile(const std::filesystem::path& file, const CompoundFile& container,
                        std::size_t external, std::size_t size, const StreamReader& read,
                        std::vector<CfbEntry>& entries_out) {
  CfbLayout layout;
  SaveAside(file, [&](system::AtomicFile& out) {
    layout = WriteCompoundFile(
        container, external, size, read,
        [&out](const std::uint8_t* data, std::size_t n) { out.Append(Chars(data, n)); },
        entries_out);
  });
  return layout;
}

bool WriteBookInPlace(const std::filesystem::path& file, const FileStamp& expected,
                      const InPlaceUpdate& update, const StreamReader& read, FileStamp& after) {
  std::unique_ptr<system::RandomRWFile> out;
  try {
    out = system::CurrentEnv().NewRandomRWFile(system::Utf8FromPath(file));
    if (out->Stamp() != expected) return false;
  } catch (const system::ReadOnlyFileError&) {
    throw Error(file, "cannot save the workbook: it is read-only");
  } catch (const system::SystemError& e) {
    Fail(file, "cannot open the workbook for writing", e);
  }
  auto bytes = [](const auto& data) { return Chars(data.data(), data.size()); };
  const std::uint64_t size = expected.size;
  // A failure before the header changes leaves the old version whole; what
  // was added past its end is cut off again where the system lets us.
  auto undo = [&] {
    try {
      out->Truncate(size);
    } catch (const system::SystemError&) {
    }
  };
  try {
    // A megabyte at a time (a multiple of every sector size).
    const std::size_t ss = update.layout.sector;
    const std::size_t per_part = (std::size_t{1} << 20) / ss;
    Bytes part;
    for (std::size_t first = 0; first < update.sectors.size(); first += per_part) {
      const std::size_t count = std::min(per_part, update.sectors.size() - first);
      part.resize(count * ss);
      RenderSectors(update, first, count, read, part.data());
      out->Write(update.offset + first * ss, bytes(part));
    }
  } catch (const system::SystemError& e) {
    undo();
    Fail(file, "cannot write the workbook", e);
  }
  try {
    out->Sync();
  } catch (const system::SystemError& e) {
    undo();
    Fail(file, "cannot flush the workbook to disk", e);
  }
  // The one write that switches the file to the new version. When it or its
  // flush fails, the header on disk may be either: the old one is put back,
  // so that the edits kept for the next save are not written twice.
  try {
    out->Write(0, bytes(update.header));
    out->Sync();
  } catch (const system::SystemError& e) {
    try {
      out->Write(0, bytes(update.old_header));
      out->Sync();
      undo();
    } catch (const system::SystemError&) {
    }
    Fail(file, "cannot write the workbook's header", e);
  }
  try {
    after = out->Stamp();
  } catch (const system::SystemError&) {
    after = FileStamp{};  // read again at the next save
  }
  return true;
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
  try {
    system::CurrentEnv().RemoveStaleTemporaries(system::Utf8FromPath(file));
  } catch (const system::SystemError&) {
    // Litter left by a dead writer never stops a save.
  }
}

}  // namespace vt::workbook::detail
