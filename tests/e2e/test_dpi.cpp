// The program started on a 144-DPI desktop: client size and every control scaled by 1.5.
#include "support/app_fixture.h"

#include <shellscalingapi.h>

#include <optional>

namespace kestul::test {
namespace {

// Wine's HKEY_CURRENT_USER belongs to the test prefix; on Windows it is the real user's, where
// LogPixels would change the account's scaling at its next sign-in.
bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

UINT PrimaryMonitorDpi() {
  UINT x = 0, y = 0;
  const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  return SUCCEEDED(GetDpiForMonitor(primary, MDT_EFFECTIVE_DPI, &x, &y)) ? x : 0;
}

// Under Wine only: sets the desktop DPI for processes started afterwards, and puts the old value
// back.
class DesktopDpi {
 public:
  explicit DesktopDpi(DWORD dpi) {
    DWORD size = sizeof(old_);
    hadOld_ = RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD,
                           nullptr, &old_, &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~DesktopDpi() {
    if (hadOld_) {
      Set(old_);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    }
  }
  DesktopDpi(const DesktopDpi&) = delete;
  DesktopDpi& operator=(const DesktopDpi&) = delete;

 private:
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  }
  DWORD old_ = 96;
  bool hadOld_ = false;
};

using DpiFixture = AppTest;

TEST_F(DpiFixture, At144DpiTheClientAndEveryControlScaleByOneAndAHalf) {
  // On Windows the test runs only where the primary monitor, where the program opens, already is
  // at 144 DPI (150 %).
  std::optional<DesktopDpi> dpi;
  if (RunningUnderWine()) {
    dpi.emplace(144);
  } else if (const UINT primary = PrimaryMonitorDpi(); primary != 144) {
    GTEST_SKIP() << "the primary monitor is at " << primary << " DPI, not 144";
  }
  ASSERT_TRUE(Start());
  if (ClientSize(app.window()).right == 380)
    GTEST_SKIP() << "this desktop does not give 144 DPI to new processes";
  EXPECT_EQ(ClientSize(app.window()), (RECT{0, 0, 570, 495}));
  struct Expected {
    int id;
    RECT rect;
  };
  // MulDiv(value, 144, 96) of the 96-DPI table, e.g. the target group 12,12,356x92 -> 18,18,534x138.
  for (const Expected& e :
       {Expected{IDC_GROUP_TARGET, {18, 18, 552, 156}}, Expected{IDC_TARGET_CURRENT, {42, 60, 275, 96}},
        Expected{IDC_INTERVAL, {168, 300, 333, 344}}, Expected{IDC_START_STOP, {42, 407, 528, 458}},
        Expected{IDC_SETTINGS_CANCEL, {348, 423, 528, 474}}}) {
    SCOPED_TRACE(e.id);
    EXPECT_EQ(ChildRect(app.Control(e.id)), e.rect);
  }
  SaveScreenshot(L"main-view-144dpi", app.window());
}

}  // namespace
}  // namespace kestul::test
