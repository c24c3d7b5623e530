// The layout signature and the check of a saved position.
#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/monitor_layout.h"

namespace kestul {
namespace {

TEST(LayoutSignature, FormatsEveryMonitorInSortedOrder) {
  EXPECT_EQ(LayoutSignature({}), L"");
  EXPECT_EQ(LayoutSignature({{0, 0, 2560, 1440}}), L"0,0,2560,1440;");
  MonitorLayout layout{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
  SortMonitorLayout(layout);
  EXPECT_EQ(LayoutSignature(layout), L"-1280,0,0,1024;0,0,1920,1080;");
  EXPECT_EQ(LayoutSignature({{-1920, -200, 0, 880}}), L"-1920,-200,0,880;");
}

TEST(LayoutSignature, AnyReportOrderGivesTheSameSignature) {
  MonitorLayout layout{{0, 0, 1920, 1080},  {0, -1080, 1920, 0}, {1920, 0, 3840, 1080},
                       {0, -1080, 1920, 0}, {0, 0, 1920, 1200},  {-1280, 300, 0, 1324}};
  MonitorLayout sorted = layout;
  SortMonitorLayout(sorted);
  const std::wstring expected =
      L"-1280,300,0,1324;0,-1080,1920,0;0,-1080,1920,0;0,0,1920,1080;0,0,1920,1200;"
      L"1920,0,3840,1080;";
  EXPECT_EQ(LayoutSignature(sorted), expected) << "equal left: top, then right, then bottom; duplicates kept";
  std::sort(layout.begin(), layout.end(),
            [](const MonitorRect& a, const MonitorRect& b) { return a.bottom > b.bottom; });
  do {
    MonitorLayout shuffled = layout;
    SortMonitorLayout(shuffled);
    ASSERT_EQ(LayoutSignature(shuffled), expected);
  } while (std::next_permutation(layout.begin(), layout.begin() + 4,
                                 [](const MonitorRect& a, const MonitorRect& b) {
                                   return a.left + a.top * 7 + a.bottom < b.left + b.top * 7 + b.bottom;
                                 }));
}

TEST(PointOnMonitor, LeftAndTopInclusiveRightAndBottomExclusive) {
  const MonitorLayout two{{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
  EXPECT_TRUE(IsPointOnMonitor({0, 0}, two));
  EXPECT_TRUE(IsPointOnMonitor({1920, 500}, two)) << "on the second monitor";
  EXPECT_TRUE(IsPointOnMonitor({3839, 1079}, two));
  EXPECT_FALSE(IsPointOnMonitor({3840, 500}, two));
  EXPECT_FALSE(IsPointOnMonitor({100, 1080}, two));
  EXPECT_FALSE(IsPointOnMonitor({-1, 0}, two));
  EXPECT_FALSE(IsPointOnMonitor({0, 0}, {}));
}

TEST(ValidateSavedPosition, EveryOutcomeInItsOrder) {
  const MonitorLayout one{{0, 0, 1920, 1080}};
  const MonitorLayout two{{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
  const std::wstring oneSignature = L"0,0,1920,1080;";
  EXPECT_EQ(ValidateSavedPosition(false, {10, 10}, oneSignature, one), PositionCheck::NotSaved);
  EXPECT_EQ(ValidateSavedPosition(false, {10, 10}, L"", {}), PositionCheck::NotSaved);
  EXPECT_EQ(ValidateSavedPosition(true, {10, 10}, oneSignature, one), PositionCheck::Ok);
  EXPECT_EQ(ValidateSavedPosition(true, {10, 10}, oneSignature, two), PositionCheck::LayoutChanged)
      << "a changed layout wins even when the point is still on a monitor";
  EXPECT_EQ(ValidateSavedPosition(true, {10, 10}, L"0,0,1920,1080; ", one), PositionCheck::LayoutChanged);
  EXPECT_EQ(ValidateSavedPosition(true, {1920, 10}, oneSignature, one), PositionCheck::OffMonitor);
  EXPECT_EQ(ValidateSavedPosition(true, {0, 0}, L"", {}), PositionCheck::OffMonitor);
}

}  // namespace
}  // namespace kestul
