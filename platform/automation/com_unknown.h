#pragma once

// Windows only: the IUnknown of our COM objects, written once.

// clang-format off
#include <windows.h>
#include <unknwn.h>
// clang-format on

#include <atomic>
#include <initializer_list>

namespace vt::automation::com {

// True when `riid` is one of `ids`.
inline bool AnyOf(REFIID riid, std::initializer_list<const IID*> ids) {
  for (const IID* id : ids) {
    if (IsEqualIID(riid, *id)) return true;
  }
  return false;
}

// COM objects are destroyed by Release, never through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// IUnknown for `Object`, which implements `Interfaces` and has
// `void* Find(REFIID)`: its interface that answers the id, or null. It starts
// with one reference, and the last Release deletes it. `Object` befriends this
// base when its destructor or Find is private.
template <typename Object, typename... Interfaces>
class Unknown : public Interfaces... {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = static_cast<Object*>(this)->Find(riid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Object*>(this);
    return left;
  }

 protected:
  Unknown() = default;
  ~Unknown() = default;

 private:
  std::atomic<ULONG> references_{1};
};

#pragma GCC diagnostic pop

}  // namespace vt::automation::com
