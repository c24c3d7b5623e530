#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "geometry/enumerate_monitors.h"
#include "support/desktop.h"

namespace kestul {
namespace {

TEST(EnumerateMonitors, ReportsTheScreenOfThisDesktop) {
  const MonitorLayout layout = EnumerateMonitors();
  ASSERT_FALSE(layout.empty());
  SCOPED_TRACE(test::DesktopSignature());
  EXPECT_EQ(layout.size(), static_cast<std::size_t>(GetSystemMetrics(SM_CMONITORS)));
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
  const MonitorRect primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_NE(std::find(layout.begin(), layout.end(), primary), layout.end()) << "the primary monitor";
  // Each is the monitor the system finds at its own centre: none invented, none cut short.
  for (const MonitorRect& m : layout) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetMonitorInfoW(
        MonitorFromPoint({(m.left + m.right) / 2, (m.top + m.bottom) / 2}, MONITOR_DEFAULTTONULL), &info));
    EXPECT_EQ(
        (MonitorRect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom}),
        m);
  }
  // The signature must not depend on the order the system lists the monitors in.
  EXPECT_TRUE(std::is_sorted(layout.begin(), layout.end(), [](const MonitorRect& a, const MonitorRect& b) {
    return std::tie(a.left, a.top, a.right, a.bottom) < std::tie(b.left, b.top, b.right, b.bottom);
  }));
}

}  // namespace
}  // namespace kestul
