// Real injection: clicks from the adapter arrive in a real window, where they should.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "clicker/click_events.h"
#include "clicker/send_input_adapter.h"
#include "geometry/enumerate_monitors.h"
#include "support/desktop.h"
#include "support/recording_window.h"
#include "support/values.h"

namespace kestul {
namespace {

using test::PointIn;
using test::RecordingWindow;
using test::TargetArea;
using test::WaitUntil;

TEST(SendInputAdapter, CursorModeClicksWhereTheCursorIsWithEitherButton) {
  const RECT area = TargetArea();
  RecordingWindow target(area);
  ASSERT_NE(target.window(), nullptr);
  const POINT cursor = PointIn(area, 30, 30);
  SetCursorPos(cursor.x, cursor.y);
  SendInputAdapter adapter;
  ASSERT_TRUE(adapter.SendClick({.mode = ClickMode::Current, .button = ClickButton::Left}));
  ASSERT_TRUE(adapter.SendClick({.mode = ClickMode::Current, .button = ClickButton::Right}));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) == 1; }, 3000));
  std::vector<UINT> messages(target.received().size());
  std::transform(target.received().begin(), target.received().end(), messages.begin(),
                 [](const test::Received& r) { return r.message; });
  EXPECT_EQ(messages, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));
  EXPECT_TRUE(test::AllLandedAt(target, cursor));
  EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0) << "no button is left pressed";
  EXPECT_EQ(GetAsyncKeyState(VK_RBUTTON) & 0x8000, 0);
}

TEST(SendInputAdapter, SavedModeMovesToThePointAndStaysThere) {
  // On the monitor farthest left: with one left of the primary, the point is at negative x.
  const RECT area = TargetArea(test::LeftmostMonitor());
  RecordingWindow target(area);
  const POINT start = PointIn(test::PrimaryWorkArea(), 20, 20);
  SetCursorPos(start.x, start.y);
  const POINT saved = PointIn(area, 85, 90);
  SendInputAdapter adapter;
  ASSERT_TRUE(adapter.SendClick(
      {.mode = ClickMode::Saved, .button = ClickButton::Right, .x = saved.x, .y = saved.y}));
  ASSERT_TRUE(WaitUntil([&] { return target.Count(WM_RBUTTONUP) == 1; }, 3000));
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0);
  EXPECT_TRUE(test::AllLandedAt(target, saved));
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor, saved) << "the cursor is not moved back";
}

TEST(SendInputAdapter, PointsOutsideTheVirtualScreenInjectNothing) {
  const RECT area = TargetArea();
  RecordingWindow target(area);
  const POINT inside = PointIn(area, 50, 50);
  SetCursorPos(inside.x, inside.y);
  SendInputAdapter adapter;
  const VirtualScreen screen = CurrentVirtualScreen();
  const int left = screen.left, right = screen.left + screen.width;
  const int y = inside.y;
  auto at = [y](std::int32_t x) { return ClickRequest{.mode = ClickMode::Saved, .x = x, .y = y}; };
  EXPECT_FALSE(adapter.SendClick(at(right)));
  EXPECT_FALSE(adapter.SendClick(at(left - 1)));
  EXPECT_TRUE(adapter.SendClick(at(right - 1))) << "the last column is on the screen";
  test::PumpFor(300);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, right - 1);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0) << "the one accepted click landed outside the target";
}

// Windows documents only the ends of the absolute scale, not how it rounds between them: every
// column and row of this desktop is moved to with the adapter's own values and read back.
TEST(SendInputAdapter, EveryColumnAndRowOfTheDesktopIsReachedExactly) {
  const VirtualScreen screen = CurrentVirtualScreen();
  const std::vector<MonitorRect> monitors = EnumerateMonitors();
  ASSERT_FALSE(monitors.empty());
  // A point off every monitor would be pulled onto one, so each column is tried on a row of a
  // monitor that holds it, and each row on a column of one.
  auto moveAndRead = [&](std::int32_t x, std::int32_t y) {
    MouseEventRecord move{0, 0, 0, kMouseMove | kMouseVirtualDesk | kMouseAbsolute, kInjectedMarker};
    EXPECT_TRUE(NormalizeToVirtualDesk(x, screen.left, screen.width, move.dx));
    EXPECT_TRUE(NormalizeToVirtualDesk(y, screen.top, screen.height, move.dy));
    EXPECT_EQ(SendMouseEvents(&move, 1), 1u);
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
  };
  int missed = 0;
  for (const MonitorRect& m : monitors) {
    for (std::int32_t x = m.left; x < m.right; ++x) {
      const POINT got = moveAndRead(x, m.top + 1);
      if (got.x != x && ++missed <= 5) ADD_FAILURE() << "column " << x << " landed on " << got.x;
    }
    for (std::int32_t y = m.top; y < m.bottom; ++y) {
      const POINT got = moveAndRead(m.left + 1, y);
      if (got.y != y && ++missed <= 5) ADD_FAILURE() << "row " << y << " landed on " << got.y;
    }
  }
  std::printf("%zu monitors in a %dx%d virtual screen at (%d, %d): %d misses\n", monitors.size(),
              screen.width, screen.height, screen.left, screen.top, missed);
  EXPECT_EQ(missed, 0);
}

}  // namespace
}  // namespace kestul
