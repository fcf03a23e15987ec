#pragma once

// The operating system's calls behind the process's Env (Env::Default), one
// function each, as env.h describes them. A back end (env_posix.cpp and
// atomic_file_posix.cpp, env_windows.cpp and files_windows.cpp) defines them
// all; env_system.cpp makes them the Env, with what every system shares.
// CopyOver and MakeDirectory are named apart from the Win32 CopyFile and
// CreateDirectory macros.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/env.h"

namespace vt::system::backend {

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);
std::string ReadFileStamped(const std::string& path, FileStamp& stamp);
std::optional<FileStamp> StatFile(const std::string& path);
bool IsSameFile(const std::string& a, const std::string& b);
std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path);
void RemoveStaleTemporaries(const std::string& path);
std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path);
// Waits for the writers' lock, or without `wait` returns nullptr while another holds it.
std::unique_ptr<FileLock> LockFolder(const std::string& path, bool wait);
void AppendToFile(const std::string& path, std::string_view text);
void CopyOver(const std::string& from, const std::string& to);
void MakeDirectory(const std::string& path);
std::vector<std::string> RunningProcessExecutableNames();
void OpenWithDefaultProgram(const std::string& path, ShowCommand show);
void StartProgram(const std::string& command_line, ShowCommand show);

}  // namespace vt::system::backend
