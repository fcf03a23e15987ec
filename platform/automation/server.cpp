#include "platform/automation/server.h"

#include <cstdio>
#include <utility>

namespace vt::automation {
namespace {
thread_local std::string error_info;
}

std::string FormatHResult(HResult hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<std::uint32_t>(hr));
  return buf;
}

ClassFactory::~ClassFactory() = default;

void SetErrorInfo(std::string description) { error_info = std::move(description); }

std::string GetErrorInfo() { return std::exchange(error_info, {}); }

}  // namespace vt::automation
