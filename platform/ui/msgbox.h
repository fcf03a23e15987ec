#pragma once

#include <string_view>

namespace vt::ui {

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;

inline constexpr int kStyleCritical = 16;      // critical icon, OK
inline constexpr int kStyleQuestion = 36;      // question icon, Yes and No
inline constexpr int kStyleExclamation = 48;   // exclamation icon, OK
inline constexpr int kStyleInformation = 64;   // information icon, OK
inline constexpr int kStyleInfoOkCancel = 65;  // information icon, OK and Cancel

// Shows a modal message box and returns the button pressed (kOk, kCancel,
// kYes, kNo; 3 to 5 for Abort, Retry, Ignore). Any style value is accepted.
// The box is appended to the transcript when one is configured. Never throws:
// when the back end fails the box takes its safe answer and a notice says so.
int MsgBox(std::string_view text, int style, std::string_view title) noexcept;

void Beep() noexcept;

// Lets pending window messages be processed.
void DoEvents() noexcept;

// Undoes every busy/override mouse pointer the process set.
void RestoreDefaultMousePointer() noexcept;

// Appends to the transcript, when one is configured, that a window of the
// system opened ("frmSplash", its caption), or that a program was started or,
// in batch mode, would have been ("editor" or "document", the path, the show
// command of its window).
void RecordWindowShown(std::string_view form, std::string_view caption) noexcept;
void RecordLaunch(std::string_view kind, std::string_view path, int show) noexcept;

// "<program>: <message>" on stderr: what a batch run decided on its own (an
// answer or a choice that could not be used), so that its user learns of it.
void Notice(std::string_view message) noexcept;

}  // namespace vt::ui
