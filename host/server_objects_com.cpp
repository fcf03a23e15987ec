// clang-format off
#include "platform/system/text_windows.h"
#include <objbase.h>
// clang-format on

#include <string>

#include "host/server_objects.h"
#include "platform/automation/com.h"
#include "platform/automation/error.h"
#include "platform/automation/server.h"

namespace vt::host {
namespace {

class Apartment {
 public:
  Apartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
    if (FAILED(hr_)) {
      throw automation::Error(hr_, "COM cannot be started: " + automation::FormatHResult(hr_));
    }
  }
  ~Apartment() {
    ::CoFreeUnusedLibraries();
    ::CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  HRESULT hr_;
};

}  // namespace

std::shared_ptr<void> JoinObjectRuntime() { return std::make_shared<Apartment>(); }

automation::ObjectRef CreateServerObject(std::string_view progid) {
  const std::wstring name = system::windows::Widen(progid);
  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(name.c_str(), &clsid);
  if (FAILED(hr)) {
    throw automation::errors::CannotCreateObject(
        progid, "no class of that name is registered (" + automation::FormatHResult(hr) + ")");
  }
  IDispatch* dispatch = nullptr;
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr) || dispatch == nullptr) {
    throw automation::errors::CannotCreateObject(
        progid, "CoCreateInstance failed with " + automation::FormatHResult(hr));
  }
  automation::ObjectRef object = automation::com::WrapDispatch(dispatch);
  dispatch->Release();
  return object;
}

void FreeUnusedServers() { ::CoFreeUnusedLibraries(); }

}  // namespace vt::host
