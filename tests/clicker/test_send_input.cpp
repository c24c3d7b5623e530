// Real injection: clicks from the adapter arrive in a real window, where they should.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "clicker/send_input_adapter.h"
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
  ASSERT_TRUE(adapter.SendClick({0, 0, 100, 0, 0}));
  ASSERT_TRUE(adapter.SendClick({0, 1, 100, 0, 0}));
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
  ASSERT_TRUE(adapter.SendClick({1, 1, 100, saved.x, saved.y}));
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
  const int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int y = inside.y;
  EXPECT_FALSE(adapter.SendClick({1, 0, 100, right, y}));
  EXPECT_FALSE(adapter.SendClick({1, 0, 100, left - 1, y}));
  EXPECT_TRUE(adapter.SendClick({1, 0, 100, right - 1, y})) << "the last column is on the screen";
  test::PumpFor(300);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, right - 1);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0) << "the one accepted click landed outside the target";
}

}  // namespace
}  // namespace kestul
