#pragma once

#include "platform/workbook/internal/private.h"

// What the spreadsheet program accepts as the name of a new sheet.

#include <string>
#include <string_view>

#include "platform/workbook/internal/book.h"

namespace vt::workbook::detail {

// Why `name` cannot name a new sheet of `book`; empty when it can.
std::string SheetNameProblem(std::string_view name, const BookData& book);

}  // namespace vt::workbook::detail
