// A minimal in-process server for the runtime's tests: one class whose
// objects count themselves, so that unloading can be observed.
#include <memory>
#include <string>

#include "platform/automation/dispatch.h"
#include "platform/automation/server.h"

namespace {

using namespace vt::automation;

constexpr const char* kClsid = "{3F2A1B4C-5D6E-4F70-8192-A3B4C5D6E7F8}";

ObjectCounter& Live() {
  static ObjectCounter counter;
  return counter;
}

class Counted : public DispatchObject {
 public:
  Counted() {
    AddProperty("Live", [](std::span<Variant>) {
      return Variant(static_cast<std::int32_t>(Live().count()));
    });
  }
  std::string TypeName() const override { return "TestCounted"; }

 private:
  ObjectCounter::Token token_{Live()};
};

class Factory : public ClassFactory {
 public:
  ObjectRef CreateInstance() noexcept override {
    try {
      return std::make_shared<Counted>();
    } catch (...) {
      SetErrorInfo("out of memory");
      return nullptr;
    }
  }
};

}  // namespace

extern "C" {

int DllGetClassObject(const char* clsid, const char* iid, void** factory) {
  static Factory instance;
  if (!clsid || !iid || !factory) return kEPointer;
  if (Guid::Parse(clsid) != Guid::Parse(kClsid)) {
    SetErrorInfo(std::string("no class ") + clsid + " here");
    return kClassNotAvailable;
  }
  if (Guid::Parse(iid) != Guid::Parse(kIidClassFactory)) return kENoInterface;
  *factory = static_cast<ClassFactory*>(&instance);
  return kSOk;
}

int DllCanUnloadNow() { return Live().count() == 0 ? kSOk : kSFalse; }
}
