#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/automation/dispatch.h"

// What an in-process automation server and the runtime agree on: the C entry
// points, their result codes, the class factory and the count of live objects
// that keeps a server loaded.
namespace vt::automation {

// Result codes of the entry points (the values of the platform they replace).
using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kENoInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult kEPointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);
inline constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111u);
inline constexpr HResult kSelfRegClass = static_cast<HResult>(0x80040201u);

// "0x80040111", for messages.
std::string FormatHResult(HResult hr);

// The interface id that DllGetClassObject is asked for.
inline constexpr const char* kIidClassFactory = "{00000001-0000-0000-C000-000000000046}";

// The C entry points of a server library:
//   int DllRegisterServer(void);
//   int DllUnregisterServer(void);
//   int DllGetClassObject(const char* clsid, const char* iid, void** factory);
//   int DllCanUnloadNow(void);
// DllGetClassObject hands out a ClassFactory* owned by the server; it stays
// valid while the library is loaded.
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();
using DllGetClassObjectFn = HResult (*)(const char* clsid, const char* iid, void** factory);
using DllCanUnloadNowFn = HResult (*)();

class ClassFactory {
 public:
  virtual ~ClassFactory();
  // A new instance, or no object when it cannot be made; then the reason is
  // left in the error info. Never throws.
  virtual ObjectRef CreateInstance() noexcept = 0;
};

// The live objects of one server. An object holds a Token for its lifetime.
class ObjectCounter {
 public:
  class Token {
   public:
    explicit Token(ObjectCounter& counter) : counter_(&counter) { ++counter_->count_; }
    Token(const Token& other) : counter_(other.counter_) { ++counter_->count_; }
    Token& operator=(const Token&) = delete;
    ~Token() { --counter_->count_; }

   private:
    ObjectCounter* counter_;
  };

  long count() const { return count_.load(); }

 private:
  std::atomic<long> count_{0};
};

// Per-thread text explaining the last failed entry point call, as the server
// left it (SetErrorInfo/GetErrorInfo of the platform it replaces).
void SetErrorInfo(std::string description);
std::string GetErrorInfo();  // and clears it

}  // namespace vt::automation
