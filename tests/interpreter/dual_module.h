#pragma once

// Windows only: the dual interface _VeltranoModule as a C++ caller bound to
// the type library sees it, the vtable after IDispatch's seven slots in the
// order of the type library.

// clang-format off
#include <windows.h>
#include <oaidl.h>
// clang-format on

namespace vt::interpreter {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct DualModule : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_GlobalLangNum(short*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_GlobalLangNum(short) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_GetObjectsPrefix(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_GetObjectsPrefix(VARIANT_BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslatePicture(BSTR*, short*, BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateString(BSTR*, IDispatch**, short*, VARIANT_BOOL*,
                                                    BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAlarmsRecordset(IDispatch**, short*, IDispatch**,
                                                             short*, short*, VARIANT_BOOL*,
                                                             IDispatch**) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetUserGlobalLang(BSTR*, VARIANT*) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateForm(IDispatch**, short*, BSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAll(IDispatch**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShowStartupConfig() = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdateAndVerifyDictionary() = 0;
  virtual HRESULT STDMETHODCALLTYPE ChangeDevLang() = 0;
};
#pragma GCC diagnostic pop

}  // namespace vt::interpreter
