// Reads the manifest, version block and About template back from the built exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/unique_handle.h"
#include "product_info.h"
#include "support/process.h"

namespace {

// The built exe as resources only: nothing of it runs.
kestul::UniqueModule LoadExeResources() {
  return kestul::UniqueModule(LoadLibraryExW(kestul::test::AppExePath().c_str(), nullptr,
                                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
  HRSRC info = FindResourceW(module, name, type);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const auto* data = static_cast<const char*>(LockResource(loaded));
  return data == nullptr ? std::string() : std::string(data, SizeofResource(module, info));
}

std::string VersionBlock(const std::wstring& exe) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  std::string block(size, '\0');
  if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, block.data())) return {};
  return block;
}

std::wstring VersionString(const std::wstring& exe, const wchar_t* key) {
  const std::string block = VersionBlock(exe);
  if (block.empty()) return L"<no version block>";
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &length) ||
      length < sizeof(Translation)) {
    return L"<no translation>";
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language, translations[0].codePage,
           key);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &length)) return L"<missing>";
  return value;
}

TEST(Resources, ManifestDeclaresIdentityCommonControlsDpiAndLongPaths) {
  const kestul::UniqueModule exe = LoadExeResources();
  ASSERT_TRUE(exe);
  const std::string manifest = ResourceBytes(exe.get(), RT_MANIFEST, MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty());
  for (const char* expected :
       {R"(name="KESTUL.AutoClicker" version="1.0.0.0" processorArchitecture="amd64" type="win32")",
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*")",
        R"(level="asInvoker" uiAccess="false")", R"(Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")",
        ">PerMonitorV2</dpiAwareness>", ">true</longPathAware>"}) {
    EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
  }
}

TEST(Resources, VersionBlockNamesTheProductAndTheCMakeVersion) {
  const std::wstring exe = kestul::test::AppExePath();
  const std::wstring version = std::to_wstring(KESTUL_VERSION_MAJOR) + L"." +
                               std::to_wstring(KESTUL_VERSION_MINOR) + L"." +
                               std::to_wstring(KESTUL_VERSION_PATCH);
  EXPECT_EQ(version, L"" KESTUL_VERSION_TEXT);
  EXPECT_EQ(VersionString(exe, L"FileVersion"), version);
  EXPECT_EQ(VersionString(exe, L"ProductVersion"), version);
  const std::string block = VersionBlock(exe);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
              length >= sizeof(*fixed));
  const DWORD high = MAKELONG(KESTUL_VERSION_MINOR, KESTUL_VERSION_MAJOR);
  const DWORD low = MAKELONG(0, KESTUL_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
  EXPECT_EQ(VersionString(exe, L"FileDescription"), L"" KESTUL_PRODUCT_NAME);
  EXPECT_EQ(VersionString(exe, L"ProductName"), L"" KESTUL_PRODUCT_NAME);
  EXPECT_EQ(VersionString(exe, L"CompanyName"), L"KESTUL");
  EXPECT_EQ(VersionString(exe, L"InternalName"), L"KestulAutoClicker");
  EXPECT_EQ(VersionString(exe, L"OriginalFilename"), L"KestulAutoClicker.exe");
  EXPECT_EQ(VersionString(exe, L"LegalCopyright"), L"Copyright (C) 2026 KESTUL");
}

TEST(Resources, AboutTemplateIsAnExtendedDialogWithJapaneseTitle) {
  const kestul::UniqueModule exe = LoadExeResources();
  ASSERT_TRUE(exe);
  const std::string bytes = ResourceBytes(exe.get(), RT_DIALOG, MAKEINTRESOURCEW(101));
  ASSERT_GE(bytes.size(), 26u);
  const auto* words = reinterpret_cast<const WORD*>(bytes.data());
  EXPECT_EQ(words[0], 1);       // dlgVer
  EXPECT_EQ(words[1], 0xFFFF);  // signature
  DWORD style = 0;
  memcpy(&style, bytes.data() + 12, sizeof(style));
  EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  const std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  EXPECT_NE(wide.find(L"バージョン情報"), std::wstring::npos);
  EXPECT_NE(wide.find(L"Yu Gothic UI"), std::wstring::npos);
  EXPECT_NE(wide.find(L"公式サイト"), std::wstring::npos);
}

}  // namespace
