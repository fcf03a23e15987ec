#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "library/interpreter/server.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/error.h"
#include "platform/automation/registry.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/utf8_path.h"

namespace vt::interpreter {
namespace {

using automation::HResult;

class ModuleFactory : public automation::ClassFactory {
 public:
  automation::ObjectRef CreateInstance() noexcept override {
    try {
      return std::make_shared<VeltranoModule>();
    } catch (...) {
      automation::SetErrorInfo(automation::errors::FromCurrentException().description());
      return nullptr;
    }
  }
};

// Where this library was loaded from, as an absolute path.
std::filesystem::path OwnPath() {
  static const char anchor = 0;  // any object of this library will do
  const std::string path = system::PathOfLibraryContaining(&anchor);
  if (path.empty()) {
    throw automation::errors::FileAccess("cannot find the path of the Veltrano library");
  }
  return std::filesystem::weakly_canonical(std::filesystem::absolute(system::PathFromUtf8(path)));
}

// Runs an entry point's body; a failure becomes the error info and `failure`.
template <typename Body>
HResult Guard(HResult failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    try {
      automation::SetErrorInfo(automation::errors::FromCurrentException().description());
    } catch (...) {
    }
    return failure;
  }
}

}  // namespace

}  // namespace vt::interpreter

using namespace vt;

// With C linkage so that the runtime finds them by name.
extern "C" {
int DllRegisterServer(void);
int DllUnregisterServer(void);
int DllGetClassObject(const char* clsid, const char* iid, void** factory);
int DllCanUnloadNow(void);

int DllRegisterServer(void) {
  return interpreter::Guard(automation::kSelfRegClass, [] {
    const std::string path = system::Utf8FromPath(interpreter::OwnPath());
    automation::UpdateClassRegistry(
        automation::ClassRegistryPath(), [&](automation::ClassRegistry& registry) {
          registry.Register({interpreter::kProgId, interpreter::kClsid, path});
        });
    return automation::kSOk;
  });
}

int DllUnregisterServer(void) {
  return interpreter::Guard(automation::kSelfRegClass, [] {
    automation::UpdateClassRegistry(
        automation::ClassRegistryPath(),
        [](automation::ClassRegistry& registry) { registry.Unregister(interpreter::kClsid); });
    return automation::kSOk;
  });
}

int DllGetClassObject(const char* clsid, const char* iid, void** factory) {
  return interpreter::Guard(automation::kEFail, [&]() -> automation::HResult {
    if (!clsid || !iid || !factory) return automation::kEPointer;
    *factory = nullptr;
    if (automation::Guid::Parse(clsid) != automation::Guid::Parse(interpreter::kClsid)) {
      automation::SetErrorInfo(std::string("the Veltrano library has no class ") + clsid);
      return automation::kClassNotAvailable;
    }
    if (automation::Guid::Parse(iid) != automation::Guid::Parse(automation::kIidClassFactory)) {
      return automation::kENoInterface;
    }
    static interpreter::ModuleFactory instance;
    *factory = static_cast<automation::ClassFactory*>(&instance);
    return automation::kSOk;
  });
}

int DllCanUnloadNow(void) {
  return interpreter::LiveObjects().count() == 0 ? automation::kSOk : automation::kSFalse;
}

}  // extern "C"
