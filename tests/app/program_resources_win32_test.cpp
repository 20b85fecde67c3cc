// The built program's manifest and version block, read back from the .scr
// the way Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/version.h"

namespace {
// The build passes a host path; wine maps the host's root to drive Z:.
std::wstring ProgramPath() {
  std::string host = VIVARN_SCR_PATH;
  std::wstring path = L"Z:";
  for (char c : host) path += (c == '/') ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

std::string ReadManifest() {
  HMODULE image = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) return {};
  std::string text;
  if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {  // RT_MANIFEST
    const DWORD size = SizeofResource(image, found);
    if (HGLOBAL loaded = LoadResource(image, found))
      text.assign(static_cast<const char*>(LockResource(loaded)), size);
  }
  FreeLibrary(image);
  return text;
}

std::wstring Widen(const char* s) { return std::wstring(s, s + strlen(s)); }
}  // namespace

TEST(ProgramResources, ManifestAsksForVisualStylesDpiAwarenessAndNamesTheSupportedSystems) {
  const std::string manifest = ReadManifest();
  ASSERT_FALSE(manifest.empty()) << "no manifest resource 1 in the program";
  const char* required[] = {
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "publicKeyToken=\"6595b64144ccf1df\"",
      ">true/pm</dpiAware>",
      ">PerMonitorV2, PerMonitor</dpiAwareness>",
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
      "version=\"" VIVARN_VERSION_TEXT "\"",
  };
  for (const char* text : required) EXPECT_NE(manifest.find(text), std::string::npos) << text;
  EXPECT_EQ(manifest.find('@'), std::string::npos) << "an unfilled template variable";
}

TEST(ProgramResources, VersionBlockNamesTheProductAndTheHeaderVersion) {
  const std::wstring path = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwProductVersionMS, DWORD(MAKELONG(VIVARN_VERSION_MINOR, VIVARN_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwProductVersionLS, DWORD(MAKELONG(VIVARN_VERSION_BUILD, VIVARN_VERSION_PATCH)));
  EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);

  struct {
    const wchar_t* key;
    std::wstring value;
  } strings[] = {
      {L"\\StringFileInfo\\040904b0\\ProductName", L"Vivarn Screen Saver"},
      {L"\\StringFileInfo\\040904b0\\ProductVersion", Widen(VIVARN_VERSION_TEXT)},
      {L"\\StringFileInfo\\040904b0\\FileVersion", Widen(VIVARN_VERSION_TEXT)},
  };
  for (const auto& s : strings) {
    wchar_t* value = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), s.key, reinterpret_cast<void**>(&value), &length)) << s.key;
    EXPECT_EQ(std::wstring(value), s.value) << s.key;
  }
  // The text form must say what the numbers say.
  const std::wstring numbers = std::to_wstring(VIVARN_VERSION_MAJOR) + L"." + std::to_wstring(VIVARN_VERSION_MINOR) +
                               L"." + std::to_wstring(VIVARN_VERSION_PATCH) + L"." +
                               std::to_wstring(VIVARN_VERSION_BUILD);
  EXPECT_EQ(Widen(VIVARN_VERSION_TEXT), numbers);
}
