#include "platform/workbook/workbook.h"

#include <new>

#include "platform/workbook/internal/book_state.h"

namespace vt::workbook {

Workbook::Workbook(std::unique_ptr<detail::BookState> state) : state_(std::move(state)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::Open(const std::filesystem::path& file) {
  auto state = std::make_unique<detail::BookState>();
  state->path = file;
  try {
    std::string bytes;
    {
      // Under the writers' lock: a save in place must not be read half done.
      std::unique_ptr<system::FileLock> lock;
      try {
        lock = detail::LockBookFile(file);
      } catch (const Error&) {
        // A folder we may not lock is read all the same.
      }
      bytes = detail::ReadBookFile(file, state->stamp);
    }
    state->Attach(detail::ParseBook(std::move(bytes)));
  } catch (const detail::FormatError& e) {
    throw Error(file, e.what());
  } catch (const std::bad_alloc&) {
    throw Error(file, "out of memory while reading the workbook");
  } catch (const Error&) {
    throw;
  } catch (const std::exception& e) {
    throw Error(file, std::string("cannot read the workbook: ") + e.what());
  }
  return Workbook(std::move(state));
}

void Workbook::CreateDictionary(const std::filesystem::path& file, std::string_view sheet_name,
                                const std::vector<std::string>& headers) {
  try {
    detail::Bytes bytes = detail::NewDictionaryFile(sheet_name, headers);
    const auto lock = detail::LockBookFile(file);
    detail::WriteBookFile(file, bytes);
  } catch (const detail::FormatError& e) {
    throw Error(file, e.what());
  } catch (const Error&) {
    throw;
  } catch (const std::exception& e) {
    throw Error(file, std::string("cannot create the workbook: ") + e.what());
  }
}

const std::filesystem::path& Workbook::Path() const { return state_->path; }

std::vector<std::string> Workbook::SheetNames() const {
  std::vector<std::string> names;
  for (const auto& s : state_->sheets) names.emplace_back(s->Name());
  return names;
}

Sheet* Workbook::FindSheet(std::string_view name) { return state_->Find(name); }

Sheet* Workbook::AddSheet(std::string_view name) { return state_->AddSheet(name); }

bool Workbook::HasPendingEdits() const { return !state_->pending.empty(); }

std::size_t Workbook::ContentGeneration() const { return state_->generation; }

std::string_view Workbook::Damage() const { return state_->data->damage; }

void Workbook::Save() { state_->Save(); }

}  // namespace vt::workbook
