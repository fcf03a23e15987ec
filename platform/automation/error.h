#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vt::automation {

// A run-time error as the automation runtime raises it: a number and a
// description. The description is what error reports show and log.
class Error : public std::runtime_error {
 public:
  Error(std::int32_t number, const std::string& description);

  std::int32_t number() const { return number_; }
  std::string description() const { return what(); }

 private:
  std::int32_t number_;
};

// The run-time error numbers the system meets, with their usual descriptions.
namespace errors {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInternal = 51;
inline constexpr std::int32_t kBadFileName = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kInvalidFileFormat = 321;
inline constexpr std::int32_t kInvalidUseOfNull = 94;
inline constexpr std::int32_t kReadOnlyProperty = 383;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kNoSuchMember = 438;

Error Overflow();
Error TypeMismatch();
Error InvalidUseOfNull();
Error ObjectNotSet();
Error SubscriptOutOfRange();
Error InvalidCall(std::string_view detail = {});
// "Path/File access error", with what failed on which file.
Error FileAccess(std::string_view detail);
// "Bad file name or number", with what is wrong with the name.
Error BadFileName(std::string_view detail);
// "Object doesn't support this property or method", naming the member and the type.
Error NoSuchMember(std::string_view type_name, std::string_view member);
// "Can't assign to read-only property", naming the member and the type.
Error ReadOnlyProperty(std::string_view type_name, std::string_view member);
// "ActiveX component can't create object", naming the class and why.
Error CannotCreateObject(std::string_view class_name, std::string_view reason = {});

// Runs `body`, turning any other exception into an Error so that callers of
// late-bound members only ever meet Error.
template <typename Body>
decltype(auto) Guarded(Body&& body);
Error FromCurrentException();
}  // namespace errors

template <typename Body>
decltype(auto) errors::Guarded(Body&& body) {
  try {
    return body();
  } catch (const Error&) {
    throw;
  } catch (...) {
    throw FromCurrentException();
  }
}

}  // namespace vt::automation
