#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "platform/automation/com.h"
#include "platform/system/text_windows.h"

namespace vt::automation::com {
namespace {

std::string VarTypeName(VARTYPE vt) {
  return "VARIANT type 0x" + [&] {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(vt));
    return std::string(buf);
  }();
}

Error Unsupported(VARTYPE vt, std::string_view why) {
  return Error(errors::kTypeMismatch, "Type mismatch: " + VarTypeName(vt) + " " + std::string(why));
}

BSTR NewBstr(std::string_view utf8) {
  const std::wstring wide = system::windows::Widen(utf8);
  BSTR text = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!text) throw Error(errors::kOutOfMemory, "Out of memory");
  return text;
}

std::string FromBstr(BSTR text) { return system::windows::Narrow({text, ::SysStringLen(text)}); }

// Whole numbers of other widths: Integer or Long when they fit, else Double.
template <typename T>
Variant Whole(T v) {
  if (std::in_range<std::int16_t>(v)) return Variant(static_cast<std::int16_t>(v));
  if (std::in_range<std::int32_t>(v)) return Variant(static_cast<std::int32_t>(v));
  return Variant(static_cast<double>(v));
}

Variant Changed(const VARIANT& value, VARTYPE to) {
  VARIANT out;
  ::VariantInit(&out);
  if (FAILED(::VariantChangeType(&out, const_cast<VARIANT*>(&value), 0, to))) {
    throw Unsupported(value.vt, "does not convert");
  }
  Variant result = FromVariant(out);
  ::VariantClear(&out);
  return result;
}

}  // namespace

Guid FromIid(const IID& iid) {
  Guid guid;
  for (int i = 0; i < 4; ++i) {
    guid.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(iid.Data1 >> (24 - 8 * i));
  }
  guid.bytes[4] = static_cast<std::uint8_t>(iid.Data2 >> 8);
  guid.bytes[5] = static_cast<std::uint8_t>(iid.Data2);
  guid.bytes[6] = static_cast<std::uint8_t>(iid.Data3 >> 8);
  guid.bytes[7] = static_cast<std::uint8_t>(iid.Data3);
  std::memcpy(&guid.bytes[8], iid.Data4, 8);
  return guid;
}

IID ToIid(const Guid& guid) {
  IID iid{};
  const auto& b = guid.bytes;
  iid.Data1 = (static_cast<unsigned long>(b[0]) << 24) | (static_cast<unsigned long>(b[1]) << 16) |
              (static_cast<unsigned long>(b[2]) << 8) | b[3];
  iid.Data2 = static_cast<unsigned short>((b[4] << 8) | b[5]);
  iid.Data3 = static_cast<unsigned short>((b[6] << 8) | b[7]);
  std::memcpy(iid.Data4, &b[8], 8);
  return iid;
}

void ToVariant(const Variant& value, VARIANT* out) {
  std::memset(out, 0, sizeof *out);  // VT_EMPTY, and no stray bytes in the value
  switch (value.type()) {
    case VarType::Empty:
      return;
    case VarType::Null:
      out->vt = VT_NULL;
      return;
    case VarType::Boolean:
      out->vt = VT_BOOL;
      out->boolVal = value.ToBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case VarType::Integer:
      out->vt = VT_I2;
      out->iVal = value.ToInteger();
      return;
    case VarType::Long:
      out->vt = VT_I4;
      out->lVal = value.ToLong();
      return;
    case VarType::Double:
      out->vt = VT_R8;
      out->dblVal = value.ToDouble();
      return;
    case VarType::String:
      out->bstrVal = NewBstr(value.ToString());
      out->vt = VT_BSTR;
      return;
    case VarType::Object:
      out->pdispVal = ExposeObject(value.ToObject());
      out->vt = VT_DISPATCH;
      return;
  }
}

Variant FromVariant(const VARIANT& value) {
  if (value.vt == (VT_BYREF | VT_VARIANT)) {
    if (!value.pvarVal) throw Unsupported(value.vt, "points nowhere");
    return FromVariant(*value.pvarVal);
  }
  if (value.vt & (VT_ARRAY | VT_VECTOR)) throw Unsupported(value.vt, "(arrays are not supported)");
  if (value.vt & VT_BYREF) {
    if (!value.byref) throw Unsupported(value.vt, "points nowhere");
    VARIANT copy;
    ::VariantInit(&copy);
    if (FAILED(::VariantCopyInd(&copy, const_cast<VARIANT*>(&value))))
      throw Unsupported(value.vt, "cannot be read");
    Variant result;
    try {
      result = FromVariant(copy);
    } catch (...) {
      ::VariantClear(&copy);
      throw;
    }
    ::VariantClear(&copy);
    return result;
  }
  switch (value.vt) {
    case VT_EMPTY:
      return {};
    case VT_NULL:
      return Variant::Null();
    case VT_BOOL:
      return Variant(value.boolVal != VARIANT_FALSE);
    case VT_I2:
      return Variant(static_cast<std::int16_t>(value.iVal));
    case VT_I4:
      return Variant(static_cast<std::int32_t>(value.lVal));
    case VT_R8:
      return Variant(value.dblVal);
    case VT_BSTR:
      return Variant(value.bstrVal ? FromBstr(value.bstrVal) : std::string());
    case VT_UI1:
      return Whole(value.bVal);
    case VT_I1:
      return Whole(static_cast<signed char>(value.cVal));
    case VT_UI2:
      return Whole(value.uiVal);
    case VT_UI4:
      return Whole(value.ulVal);
    case VT_INT:
      return Whole(value.intVal);
    case VT_UINT:
      return Whole(value.uintVal);
    case VT_I8:
      return Whole(value.llVal);
    case VT_UI8:
      return Whole(value.ullVal);
    case VT_R4:
      return Variant(static_cast<double>(value.fltVal));
    case VT_CY:
    case VT_DECIMAL:
      return Changed(value, VT_R8);
    case VT_DATE:
      return Changed(value, VT_BSTR);
    case VT_ERROR:
      if (value.scode == DISP_E_PARAMNOTFOUND) return {};
      throw Unsupported(value.vt, "(an error value)");
    case VT_DISPATCH:
      return Variant(WrapDispatch(value.pdispVal));
    case VT_UNKNOWN: {
      if (!value.punkVal) return Variant(ObjectRef());
      IDispatch* dispatch = nullptr;
      if (FAILED(
              value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        throw Unsupported(value.vt, "(an object without IDispatch)");
      }
      ObjectRef object = WrapDispatch(dispatch);
      dispatch->Release();
      return Variant(object);
    }
    default:
      throw Unsupported(value.vt, "is not supported");
  }
}

void WriteBack(const Variant& value, VARIANT* argument) {
  if (!(argument->vt & VT_BYREF)) return;
  if (argument->vt == (VT_BYREF | VT_VARIANT)) {
    VARIANT fresh;
    ToVariant(value, &fresh);
    ::VariantClear(argument->pvarVal);
    *argument->pvarVal = fresh;
    return;
  }
  switch (argument->vt & ~VT_BYREF) {
    case VT_BSTR: {
      BSTR fresh = NewBstr(value.ToString());
      ::SysFreeString(*argument->pbstrVal);
      *argument->pbstrVal = fresh;
      return;
    }
    case VT_I2:
      *argument->piVal = value.ToInteger();
      return;
    case VT_I4:
      *argument->plVal = value.ToLong();
      return;
    case VT_R8:
      *argument->pdblVal = value.ToDouble();
      return;
    case VT_BOOL:
      *argument->pboolVal = value.ToBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case VT_DISPATCH: {
      IDispatch* fresh = ExposeObject(value.ToObject());
      if (*argument->ppdispVal) (*argument->ppdispVal)->Release();
      *argument->ppdispVal = fresh;
      return;
    }
    default:
      throw Unsupported(argument->vt, "cannot take a value back");
  }
}

bool SameValue(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  switch (a.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return true;
    case VT_BOOL:
      return a.boolVal == b.boolVal;
    case VT_I2:
      return a.iVal == b.iVal;
    case VT_I4:
      return a.lVal == b.lVal;
    case VT_R8:
      return std::memcmp(&a.dblVal, &b.dblVal, sizeof a.dblVal) == 0;
    case VT_BSTR: {
      const UINT length = ::SysStringLen(a.bstrVal);
      return length == ::SysStringLen(b.bstrVal) &&
             (length == 0 || std::memcmp(a.bstrVal, b.bstrVal, length * sizeof(OLECHAR)) == 0);
    }
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return a.punkVal == b.punkVal;
    default:
      return false;  // taken as changed: written back as it is
  }
}

}  // namespace vt::automation::com
