#pragma once

#include <CLI/CLI.hpp>

namespace vt::ui {

// CLI11's ExistingFile and ExistingDirectory, with the same messages, for
// UTF-8 words: CLI11's own give the word to the system as it is, which on
// Windows means the ANSI code page.
const CLI::Validator& ExistingFile();
const CLI::Validator& ExistingDirectory();

}  // namespace vt::ui
