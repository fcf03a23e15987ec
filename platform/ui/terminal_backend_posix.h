#pragma once

#include <memory>

#include "platform/ui/backend.h"

namespace vt::ui {

// Asks on a terminal: prints the title, the text (line breaks as line feeds)
// and the buttons, then reads a line. A button's name or initial answers
// (letter case ignored), an empty line takes the default button, anything
// else asks again. End of input takes the safe answer.
class TerminalBackend final : public Backend {
 public:
  // On the controlling terminal (/dev/tty); nothing when the process has none.
  static std::unique_ptr<TerminalBackend> OpenControllingTerminal();

  // Reads from in_fd, writes to out_fd; closes them at the end when owned.
  TerminalBackend(int in_fd, int out_fd, bool owns_fds);
  ~TerminalBackend() override;
  TerminalBackend(const TerminalBackend&) = delete;
  TerminalBackend& operator=(const TerminalBackend&) = delete;

  std::string_view Name() const override { return "terminal"; }
  Answer ShowMessage(const MessageRequest& request) override;
  void Beep() override;

 private:
  void Write(std::string_view s) const;
  // False at end of input (or a read error).
  bool ReadLine(std::string& line) const;

  int in_fd_;
  int out_fd_;
  bool owns_fds_;
};

}  // namespace vt::ui
