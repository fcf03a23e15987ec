#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace vt::testing {

struct ProcessResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `args`, the test's environment (or `environment`,
// "NAME=value" entries, when given), its output captured through files in
// `scratch` (an existing folder).
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::filesystem::path& scratch,
                                const std::vector<std::string>* environment = nullptr) {
  const auto out_file = scratch / "stdout.txt";
  const auto err_file = scratch / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> env_copy;
  std::vector<char*> envp;
  if (environment != nullptr) {
    env_copy = *environment;
    for (auto& entry : env_copy) envp.push_back(entry.data());
    envp.push_back(nullptr);
  }
  ProcessResult result;
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(),
                             environment != nullptr ? envp.data() : environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return result;
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  auto slurp = [](const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  result.out = slurp(out_file);
  result.err = slurp(err_file);
  return result;
}

}  // namespace vt::testing
