#include <gtest/gtest.h>

#include "ui/ui_rules.h"

namespace kestul {
namespace {

TEST(ScaleForDpi, ClientSizesAtCommonDpis) {
  EXPECT_EQ(ScaleForDpi(380, 96), 380);
  EXPECT_EQ(ScaleForDpi(330, 96), 330);
  EXPECT_EQ(ScaleForDpi(380, 120), 475);
  EXPECT_EQ(ScaleForDpi(330, 120), 413);  // 412.5 rounds half up
  EXPECT_EQ(ScaleForDpi(380, 144), 570);
  EXPECT_EQ(ScaleForDpi(330, 144), 495);
  EXPECT_EQ(ScaleForDpi(380, 192), 760);
  EXPECT_EQ(ScaleForDpi(330, 192), 660);
  // No 32-bit overflow in the product.
  EXPECT_EQ(ScaleForDpi(2147483647, 192), 4294967294);
}

TEST(PositionText, SavedAndUnsavedForms) {
  EXPECT_EQ(PositionText(false, 1920, 540), L"未登録");
  EXPECT_EQ(PositionText(true, 1920, 540), L"X=1920 / Y=540");
  EXPECT_EQ(PositionText(true, -1280, -200), L"X=-1280 / Y=-200");
  EXPECT_EQ(PositionText(true, -2147483647 - 1, 0), L"X=-2147483648 / Y=0");
}

}  // namespace
}  // namespace kestul
