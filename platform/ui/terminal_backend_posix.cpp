#include "platform/ui/terminal_backend_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <string>

#include "platform/base/trim.h"
#include "platform/ui/line_breaks.h"

namespace vt::ui {
namespace {

std::string_view IconTag(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return "[critical] ";
    case Icon::Question:
      return "[question] ";
    case Icon::Exclamation:
      return "[exclamation] ";
    case Icon::Information:
      return "[information] ";
    case Icon::None:
      break;
  }
  return "";
}

std::string Trimmed(const std::string& s) { return std::string(base::Trim(s, base::kWhiteSpace)); }

std::optional<Answer> Understand(const std::string& reply, const Style& style) {
  const auto buttons = ButtonsOf(style.buttons);
  if (reply.empty()) return buttons[static_cast<std::size_t>(style.default_button)];
  if (auto word = AnswerFromWord(reply); word && Fits(*word, style.buttons)) return word;
  if (reply.size() == 1) {
    // Every button of a box starts with a different letter.
    const auto initial = static_cast<char>(std::tolower(static_cast<unsigned char>(reply[0])));
    for (Answer a : buttons) {
      if (AnswerWord(a).front() == initial) return a;
    }
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<TerminalBackend> TerminalBackend::OpenControllingTerminal() {
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  const int out = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (out < 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<TerminalBackend>(fd, out, true);
}

TerminalBackend::TerminalBackend(int in_fd, int out_fd, bool owns_fds)
    : in_fd_(in_fd), out_fd_(out_fd), owns_fds_(owns_fds) {}

TerminalBackend::~TerminalBackend() {
  if (!owns_fds_) return;
  ::close(in_fd_);
  ::close(out_fd_);
}

void TerminalBackend::Write(std::string_view s) const {
  std::size_t done = 0;
  while (done < s.size()) {
    const ssize_t n = ::write(out_fd_, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

bool TerminalBackend::ReadLine(std::string& line) const {
  // A byte at a time: whatever follows the line stays for its next reader.
  line.clear();
  for (;;) {
    char c = 0;
    const ssize_t n = ::read(in_fd_, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return !line.empty();
    if (c == '\n') return true;
    line += c;
  }
}

Answer TerminalBackend::ShowMessage(const MessageRequest& request) {
  const Style& style = request.decoded;
  const auto buttons = ButtonsOf(style.buttons);
  std::string choices;
  for (Answer a : buttons) {
    if (!choices.empty()) choices += '/';
    choices += AnswerLabel(a);
  }
  const std::string default_label(
      AnswerLabel(buttons[static_cast<std::size_t>(style.default_button)]));

  std::string box = "\n";
  box += IconTag(style.icon);
  box += request.title;
  box += "\n";
  box += WithLineFeeds(request.text);
  box += "\n";
  Write(box);

  std::string reply;
  for (;;) {
    Write(choices + " [" + default_label + "]? ");
    if (!ReadLine(reply)) {
      const Answer safe = SafeAnswer(style.buttons);
      Write("\n(end of input: " + std::string(AnswerLabel(safe)) + ")\n");
      return safe;
    }
    if (auto answer = Understand(Trimmed(reply), style)) return *answer;
    Write("Please answer " + choices + ".\n");
  }
}

void TerminalBackend::Beep() { Write("\a"); }

}  // namespace vt::ui
