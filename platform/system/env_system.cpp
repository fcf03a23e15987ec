// The process's Env: the back end's system calls, and what every system
// does the same way on top of them.

#include "platform/system/env.h"
#include "platform/system/env_backend.h"

namespace vt::system {

namespace {

class SystemEnv final : public Env {
 public:
  bool FileExists(const std::string& path) override { return backend::FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return backend::DirectoryExists(path); }
  std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) override {
    return backend::ListFiles(folder, pattern);
  }
  std::string ReadFile(const std::string& path) override {
    FileStamp stamp;
    return backend::ReadFileStamped(path, stamp);
  }
  std::string ReadFileStamped(const std::string& path, FileStamp& stamp) override {
    return backend::ReadFileStamped(path, stamp);
  }
  std::optional<FileStamp> StatFile(const std::string& path) override {
    return backend::StatFile(path);
  }
  bool IsSameFile(const std::string& a, const std::string& b) override {
    return backend::IsSameFile(a, b);
  }
  std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path) override {
    return backend::NewAtomicFile(path);
  }
  void RemoveStaleTemporaries(const std::string& path) override {
    backend::RemoveStaleTemporaries(path);
  }
  std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path) override {
    return backend::NewRandomRWFile(path);
  }
  std::unique_ptr<FileLock> LockForWriting(const std::string& path) override {
    return backend::LockFolder(path, true);
  }
  std::unique_ptr<FileLock> TryLockForWriting(const std::string& path) override {
    return backend::LockFolder(path, false);
  }
  void AppendToFile(const std::string& path, std::string_view text) override {
    backend::AppendToFile(path, text);
  }
  void CopyFile(const std::string& from, const std::string& to) override {
    backend::CopyOver(from, to);
  }
  void CreateDirectory(const std::string& path) override { backend::MakeDirectory(path); }
  std::vector<std::string> RunningProcessExecutableNames() override {
    return backend::RunningProcessExecutableNames();
  }
  void OpenWithDefaultProgram(const std::string& path, ShowCommand show) override {
    backend::OpenWithDefaultProgram(path, show);
  }
  void StartProgram(const std::string& command_line, ShowCommand show) override {
    backend::StartProgram(command_line, show);
  }
  std::chrono::system_clock::time_point Now() override { return std::chrono::system_clock::now(); }
};

}  // namespace

Env* Env::Default() {
  static SystemEnv* const env = new SystemEnv;  // never destroyed: used until exit
  return env;
}

}  // namespace vt::system
