// clang-format off
#include "platform/system/text_windows.h"
#include <objbase.h>
// clang-format on

#include <map>
#include <string>
#include <string_view>

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

// The default interfaces of the host's classes, named as the real components
// name theirs apart from their classes: the forms package's controls and
// collections, the data-access component's recordsets, and the workspace's
// objects "I" and the class.
std::string DefaultInterfaceOf(std::string_view class_name) {
  static const std::map<std::string_view, std::string_view> kInterfaces = {
      {"TextBox", "IMdcText"},
      {"ComboBox", "IMdcCombo"},
      {"ListBox", "IMdcList"},
      {"CheckBox", "IMdcCheckBox"},
      {"OptionButton", "IMdcOptionButton"},
      {"ToggleButton", "IMdcToggleButton"},
      {"Label", "ILabelControl"},
      {"CommandButton", "ICommandButton"},
      {"Frame", "IOptionFrame"},
      {"SpinButton", "ISpinbutton"},
      {"ScrollBar", "IScrollbar"},
      {"Image", "IImage"},
      {"MultiPage", "IMultiPage"},
      {"TabStrip", "ITabStrip"},
      {"Recordset", "Recordset21"},
      {"Fields", "Fields20"},
      {"Field", "Field20"},
  };
  const auto named = kInterfaces.find(class_name);
  return named != kInterfaces.end() ? std::string(named->second) : "I" + std::string(class_name);
}

}  // namespace

std::shared_ptr<void> JoinObjectRuntime() {
  automation::com::SetInterfaceNamer(&DefaultInterfaceOf);
  return std::make_shared<Apartment>();
}

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
