// clang-format off
#include "platform/system/text_windows.h"
// clang-format on

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>

#include "host/commands/commands.h"
#include "host/commands/host_objects.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {
namespace {

// Set when the standard input reaches its end (closed, or nothing to read).
HANDLE WatchStandardInput() {
  HANDLE ended = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!ended) throw std::runtime_error("serve: cannot make an event");
  std::thread([ended] {
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    char buffer[256];
    DWORD got = 0;
    while (input != nullptr && input != INVALID_HANDLE_VALUE &&
           ::ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    ::SetEvent(ended);
  }).detach();
  return ended;
}

// Answers COM's calls (they arrive as messages of this thread's apartment)
// until `ended` is set or `stop_file` exists.
void Pump(HANDLE ended, const std::string& stop_file) {
  const std::wstring stop = system::windows::Widen(stop_file);
  for (;;) {
    const DWORD woke = ::MsgWaitForMultipleObjects(1, &ended, FALSE, 100, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (!stop.empty() && ::GetFileAttributesW(stop.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  }
}

Command Serve() {
  return {"serve",
          "hand the workspace out through COM to other programs (a script run by cscript) "
          "until the standard input closes or the stop file appears; then print the open "
          "pictures and close them",
          [](CLI::App& sub) -> CommandRun {
            struct Args {
              std::string stop_file;
              bool save = false;
            };
            auto args = std::make_shared<Args>();
            sub.add_option("--stop-file", args->stop_file, "stop when this file appears");
            sub.add_flag("--save", args->save, "save the open pictures to their files at the end");
            return [args](CommandContext& context) {
              HANDLE ended = WatchStandardInput();
              context.out << "serving Workspace.Application of \""
                          << FixPathText(context.options.pictures) << "\"" << std::endl;
              Pump(ended, args->stop_file);
              ::CloseHandle(ended);
              PrintOpenPictures(context);
              CloseOpenPictures(context, args->save);
              return 0;
            };
          }};
}

Command UnregisterHost() {
  return {"unregister-host",
          "remove the class Workspace.Application that FIX.exe registers for the user "
          "whenever it runs",
          [](CLI::App&) -> CommandRun {
            return [](CommandContext& context) {
              try {
                automation::UnregisterActiveClass(kWorkspaceClass,
                                                  automation::Guid::FromString(kWorkspaceClassId));
              } catch (const automation::Error& e) {
                context.err << "FIX.exe: " << e.description() << '\n';
                return 1;
              }
              context.out << "Workspace.Application removed from the registry.\n";
              return 0;
            };
          }};
}

}  // namespace

std::vector<Command> PlatformCommands() { return {Serve(), UnregisterHost()}; }

}  // namespace vt::host::commands
