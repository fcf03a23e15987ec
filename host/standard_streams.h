#pragma once

namespace vt::host {

// Makes stdout and stderr carry the bytes FIX.exe writes as they are: line
// ends are LF on both builds, and text that holds CR LF itself (a CSV) keeps
// it, where the Windows C runtime would turn every LF into CR LF.
void UseBinaryStandardStreams();

}  // namespace vt::host
