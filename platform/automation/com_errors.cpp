#include <string>

#include "platform/automation/com.h"
#include "platform/automation/server.h"
#include "platform/system/text_windows.h"

namespace vt::automation::com {
namespace {

// The host languages' run-time errors travel as FACILITY_CONTROL codes.
HRESULT ScodeOf(const Error& error) {
  const std::int32_t number = error.number();
  if (number > 0 && number <= 0xFFFF) {
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<unsigned>(number));
  }
  return number < 0 ? static_cast<HRESULT>(number) : E_FAIL;
}

std::int32_t NumberOf(HRESULT scode) {
  if (HRESULT_FACILITY(scode) == FACILITY_CONTROL) return HRESULT_CODE(scode);
  return static_cast<std::int32_t>(scode);
}

BSTR Bstr(std::string_view utf8) {
  const std::wstring wide = system::windows::Widen(utf8);
  return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string TakeBstr(BSTR& text) {
  std::string out = text ? system::windows::Narrow({text, ::SysStringLen(text)}) : std::string();
  ::SysFreeString(text);
  text = nullptr;
  return out;
}

std::string In(std::string_view text, std::string_view where) {
  return std::string(text) + ": " + std::string(where);
}

}  // namespace

void FillExcepInfo(const Error& error, std::string_view source, EXCEPINFO* info) {
  if (!info) return;
  *info = EXCEPINFO{};
  info->scode = ScodeOf(error);
  info->bstrSource = Bstr(source);
  info->bstrDescription = Bstr(error.description());
}

Error ErrorFromCall(HRESULT hr, EXCEPINFO* info, std::string_view where) {
  switch (hr) {
    case DISP_E_EXCEPTION: {
      if (!info) break;
      if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
      const HRESULT scode = info->scode != 0 ? info->scode : static_cast<HRESULT>(info->wCode);
      std::string description = TakeBstr(info->bstrDescription);
      TakeBstr(info->bstrSource);
      TakeBstr(info->bstrHelpFile);
      if (description.empty()) description = "Automation error " + FormatHResult(scode);
      return Error(NumberOf(scode), description);
    }
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
      return Error(errors::kNoSuchMember,
                   In("Object doesn't support this property or method", where));
    case DISP_E_TYPEMISMATCH:
      return Error(errors::kTypeMismatch, In("Type mismatch", where));
    case DISP_E_OVERFLOW:
      return Error(errors::kOverflow, In("Overflow", where));
    case DISP_E_BADPARAMCOUNT:
      return Error(450, In("Wrong number of arguments or invalid property assignment", where));
    case DISP_E_PARAMNOTOPTIONAL:
      return Error(449, In("Argument not optional", where));
    case E_OUTOFMEMORY:
      return Error(errors::kOutOfMemory, "Out of memory");
    default:
      break;
  }
  return Error(NumberOf(hr), In("Automation error " + FormatHResult(hr), where));
}

HRESULT ReturnError(const Error& error, std::string_view source, const IID& iid) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(::CreateErrorInfo(&create))) {
    const std::wstring wide_source = system::windows::Widen(source);
    const std::wstring wide_description = system::windows::Widen(error.description());
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(wide_source.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(wide_description.c_str()));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      ::SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return ScodeOf(error);
}

}  // namespace vt::automation::com
