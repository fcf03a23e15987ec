// The VERSIONINFO resource of every shipped Windows file, made from the
// project's version, and the startup panel's version read from the resource
// of the file that holds the library's code.
// clang-format off
#include <windows.h>
// clang-format on
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/maintenance/splash_form.h"

namespace {

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());  // ASCII paths and values here
}

// The StringFileInfo value `name` of `file` (US English, Unicode), or "".
std::string Value(const std::vector<unsigned char>& data, const wchar_t* name) {
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!::VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) ||
      text == nullptr || length == 0) {
    return {};
  }
  const std::wstring value(text, length - 1);
  return std::string(value.begin(), value.end());
}

TEST(VersionResource, EveryShippedFileCarriesTheProjectVersion) {
  const std::string bin = std::string(VELTRANO_TEST_BINARY_DIR) + "/bin/";
  const struct {
    const char* file;
    const char* description;
  } cases[] = {
      {"Veltrano.dll", "Veltrano translation server for iFix"},
      {"FIX.exe", "Veltrano sample host (the iFix workspace stand-in)"},
      {"make-dictionary.exe", "Veltrano dictionary maker"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::wstring path = Wide(bin + c.file);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), VT_PROJECT_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), VT_PROJECT_VERSION_MINOR);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(Value(data, L"FileVersion"), VT_PROJECT_VERSION);
    EXPECT_EQ(Value(data, L"ProductVersion"), VT_PROJECT_VERSION);
    EXPECT_EQ(Value(data, L"ProductName"), "Veltrano");
    EXPECT_EQ(Value(data, L"FileDescription"), c.description);
    EXPECT_EQ(Value(data, L"OriginalFilename"), c.file);
    EXPECT_NE(Value(data, L"CompanyName"), "");
    EXPECT_NE(Value(data, L"LegalCopyright").find("supplier of Veltrano"), std::string::npos);
  }
}

TEST(VersionResource, ThePanelShowsTheVersionOfTheFileHoldingTheLibrary) {
  // The library's objects are linked into this test program, whose resource
  // is made from the same project version.
  const vt::maintenance::SplashSettings settings = vt::maintenance::LibrarySplashSettings("");
  EXPECT_EQ(settings.major, VT_PROJECT_VERSION_MAJOR);
  EXPECT_EQ(settings.minor, VT_PROJECT_VERSION_MINOR);
}

}  // namespace
