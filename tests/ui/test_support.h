#pragma once

#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/configure.h"
#include "tests/support/message_log.h"
#include "tests/support/temp_dir.h"

namespace vt::ui::test {

using vt::testing::ReadFile;
using vt::testing::ReadLines;
using vt::testing::RecordingBackend;
using vt::testing::TempDir;

// --batch as FIX.exe gives it, its notices starting with "FIX.exe".
Options BatchOptions(std::vector<Answer> answers = {}, std::string transcript_path = {});
Options ModeOptions(Mode mode, bool batch = false);

}  // namespace vt::ui::test
