#pragma once

// The workbook's file on disk, through the system's Env (so tests can make
// any step fail): whole-file reads with the file's stamp, the writers' lock
// and the write-aside-then-replace save. Every failure is an Error naming the
// file and the step.

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/system/env.h"

namespace vt::workbook::detail {

using system::FileStamp;

std::string ReadBookFile(const std::filesystem::path& file, FileStamp& stamp);
std::optional<FileStamp> StatBookFile(const std::filesystem::path& file);

// Serialises the processes that save the workbook (see Env::LockForWriting).
std::unique_ptr<system::FileLock> LockBookFile(const std::filesystem::path& file);

// Writes `data` aside, flushes it to disk and puts it in the file's place;
// the file's permissions are kept. Call under LockBookFile.
void WriteBookFile(const std::filesystem::path& file, std::span<const std::uint8_t> data);

// Removes what a writer killed mid-save left behind. Call under LockBookFile.
void RemoveStaleTemporaries(const std::filesystem::path& file);

inline std::span<const std::uint8_t> AsBytes(const std::string& data) {
  return {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()};
}

}  // namespace vt::workbook::detail
