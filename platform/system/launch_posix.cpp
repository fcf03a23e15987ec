#include "platform/system/launch_posix.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>

#include "platform/system/command_line_posix.h"
#include "platform/system/env.h"

extern char** environ;

namespace vt::system {

namespace {

class SpawnAttributes {
 public:
  SpawnAttributes() {
    ::posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP}) {
      sigaddset(&defaults, signal);
    }
    ::posix_spawnattr_setsigmask(&attributes_, &none);
    ::posix_spawnattr_setsigdefault(&attributes_, &defaults);
    ::posix_spawnattr_setflags(
        &attributes_,
        static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID));
  }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

void SpawnDetached(const std::vector<std::string>& argv) {
  // sh -c '"$@" &' sh PROGRAM ARGS...: the program's arguments never pass
  // through the shell's parser.
  std::vector<std::string> words = {"/bin/sh", "-c", "\"$@\" &", "sh"};
  words.insert(words.end(), argv.begin(), argv.end());
  std::vector<char*> pointers;
  for (auto& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);

  const std::string what = "Cannot start '" + (argv.empty() ? std::string() : argv.front()) + "'";
  SpawnAttributes attributes;
  pid_t shell = 0;
  const int error =
      ::posix_spawn(&shell, "/bin/sh", nullptr, attributes.get(), pointers.data(), environ);
  if (error != 0) throw SystemError(error, what);
  int status = 0;
  while (::waitpid(shell, &status, 0) < 0) {
    if (errno != EINTR) throw SystemError(errno, what);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw SystemError(ECHILD, what + ": the shell failed");
  }
}

void OpenDocument(const std::string& path) {
  if (!FindProgram("xdg-open")) {
    throw SystemError(ENOENT, "Cannot open '" + path +
                                  "': xdg-open, which opens documents with their default "
                                  "program, is not installed");
  }
  SpawnDetached({"xdg-open", path});
}

void StartCommandLine(const std::string& command_line) {
  const std::string editor = EditorCommand();
  const std::string posix_line = ToPosixCommandLine(command_line, editor);
  if (posix_line != command_line && !FindProgram(editor)) {
    throw SystemError(ENOENT, "Cannot start the editor '" + editor + "' for '" + command_line +
                                  "': program not found (set VISUAL or EDITOR)");
  }
  SpawnDetached({"/bin/sh", "-c", posix_line});
}

}  // namespace vt::system
