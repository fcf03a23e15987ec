#pragma once

#include "platform/workbook/internal/private.h"

// The Workbook stream a save writes, planned against the stream as read (see
// StreamPlan), and what the book looks like once it is written.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/sheet_writer.h"
#include "platform/workbook/internal/stream_plan.h"

namespace vt::workbook::detail {

struct BookPlan {
  explicit BookPlan(const Bytes& old) : stream(old) {}

  StreamPlan stream;
  std::vector<SheetEmit> substreams;        // by BOUNDSHEET
  std::vector<std::size_t> boundsheet_at;   // the BOUNDSHEET records, in the new stream
  std::vector<std::string_view> sst_added;  // strings that join the shared string table
  std::size_t sst_added_at = SIZE_MAX;      // their CONTINUE records (SIZE_MAX: table written anew)
  bool has_sst = false;
  std::size_t sst_begin = 0, sst_end = 0, sst_unique_at = 0;
  std::size_t globals_eof = 0, globals_end = 0;
  std::uint32_t total_refs = 0;
};

// Every edited sheet rewritten (from its first edited block on where it can
// be), the rest of the stream as it was.
std::unique_ptr<BookPlan> PlanBook(const BookData& book);

// Reads back what the plan would write from `from` on (and the changes before
// it): records whole, substreams closed, every cell of every edited row what
// the book holds, the positions that INDEX, DBCELL and BOUNDSHEET keep
// pointing where they should. Throws FormatError on anything else.
void CheckPlan(const BookData& book, const BookPlan& plan, std::size_t from);

// Makes `book` describe the stream `plan` wrote, whose bytes are `stream`.
void AdoptPlan(BookData& book, const BookPlan& plan, Bytes stream);

}  // namespace vt::workbook::detail
