#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/enumerate_monitors.h"

namespace kestul {
namespace {

TEST(EnumerateMonitors, ReportsTheScreenOfThisDesktop) {
  const MonitorLayout layout = EnumerateMonitors();
  ASSERT_FALSE(layout.empty());
  // Whatever the desktop, the monitors together span the virtual screen.
  int left = layout[0].left, top = layout[0].top, right = layout[0].right, bottom = layout[0].bottom;
  for (const MonitorRect& m : layout) {
    left = std::min(left, m.left);
    top = std::min(top, m.top);
    right = std::max(right, m.right);
    bottom = std::max(bottom, m.bottom);
  }
  EXPECT_EQ(left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(right - left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(bottom - top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_EQ(LayoutSignature(layout), L"0,0,1920,1080;") << "the test script's Xvfb screen";
}

}  // namespace
}  // namespace kestul
