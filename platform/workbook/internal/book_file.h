#pragma once

#include "platform/workbook/internal/private.h"

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
#include "platform/workbook/internal/cfb.h"
#include "platform/workbook/internal/cfb_update.h"

namespace vt::workbook::detail {

using system::FileStamp;

std::string ReadBookFile(const std::filesystem::path& file, FileStamp& stamp);
std::optional<FileStamp> StatBookFile(const std::filesystem::path& file);

// Serialises the processes that save the workbook (see Env::LockForWriting).
std::unique_ptr<system::FileLock> LockBookFile(const std::filesystem::path& file);

// Writes `data` aside, flushes it to disk and puts it in the file's place;
// the file's permissions are kept. Call under LockBookFile.
void WriteBookFile(const std::filesystem::path& file, std::span<const std::uint8_t> data);

// The same, the compound file written in order as it is made: the bytes of
// entry `external` come from `read`. Returns the layout of the file written.
CfbLayout WriteBookFile(const std::filesystem::path& file, const CompoundFile& container,
                        std::size_t external, std::size_t size, const StreamReader& read,
                        std::vector<CfbEntry>& entries_out);

// Writes `update` into the file in place: its new sectors (the stream's
// bytes from `read`), flushed, then its header, flushed. False, with nothing
// written, when the file is no longer the version `expected` (someone
// replaced or changed it). Call under LockBookFile. `after` receives the
// file's stamp once written.
bool WriteBookInPlace(const std::filesystem::path& file, const FileStamp& expected,
                      const InPlaceUpdate& update, const StreamReader& read, FileStamp& after);

// Removes what a writer killed mid-save left behind (never what a living one writes).
void RemoveStaleTemporaries(const std::filesystem::path& file);

}  // namespace vt::workbook::detail
