// Real injection: clicks from the adapter arrive in a real window, where they should.
#include <windows.h>

#include <gtest/gtest.h>

#include "clicker/send_input_adapter.h"
#include "support/test_window.h"

namespace kestul {
namespace {

using test::ClickTarget;
using test::PumpUntil;

constexpr RECT kArea{400, 300, 1000, 800};

TEST(SendInputAdapter, CursorModeClicksWhereTheCursorIsWithEitherButton) {
  ClickTarget target(kArea);
  ASSERT_NE(target.window(), nullptr);
  SetCursorPos(600, 450);
  SendInputAdapter adapter;
  ASSERT_TRUE(adapter.SendClick({0, 0, 100, 0, 0}));
  ASSERT_TRUE(adapter.SendClick({0, 1, 100, 0, 0}));
  ASSERT_TRUE(PumpUntil([&] { return target.Count(WM_RBUTTONUP) == 1; }, 3000));
  ASSERT_EQ(target.received().size(), 4u);
  const UINT expected[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(target.received()[i].message, expected[i]);
    EXPECT_EQ(target.received()[i].screen.x, 600);
    EXPECT_EQ(target.received()[i].screen.y, 450);
  }
  EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0) << "no button is left pressed";
  EXPECT_EQ(GetAsyncKeyState(VK_RBUTTON) & 0x8000, 0);
}

TEST(SendInputAdapter, SavedModeMovesToThePointAndStaysThere) {
  ClickTarget target(kArea);
  SetCursorPos(420, 320);
  SendInputAdapter adapter;
  ASSERT_TRUE(adapter.SendClick({1, 1, 100, 901, 777}));
  ASSERT_TRUE(PumpUntil([&] { return target.Count(WM_RBUTTONUP) == 1; }, 3000));
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0);
  for (const auto& b : target.received()) {
    EXPECT_EQ(b.screen.x, 901);
    EXPECT_EQ(b.screen.y, 777);
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 901) << "the cursor is not moved back";
  EXPECT_EQ(cursor.y, 777);
}

TEST(SendInputAdapter, PointsOutsideTheVirtualScreenInjectNothing) {
  ClickTarget target(kArea);
  SetCursorPos(700, 500);
  SendInputAdapter adapter;
  const int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  EXPECT_FALSE(adapter.SendClick({1, 0, 100, right, 500}));
  EXPECT_FALSE(adapter.SendClick({1, 0, 100, left - 1, 500}));
  EXPECT_TRUE(adapter.SendClick({1, 0, 100, right - 1, 500})) << "the last column is on the screen";
  test::PumpFor(300);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, right - 1);
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), 0) << "the one accepted click landed outside the target";
}

}  // namespace
}  // namespace kestul
