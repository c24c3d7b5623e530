// Composing and delivering one click, with every acceptance count the system can answer.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "clicker/click_events.h"

namespace kestul {
namespace {

// The system maps a value back to origin + floor(v * extent / 65536) (Wine does; Windows documents
// only the ends): every pixel of every size must come back as itself.
TEST(Normalize, EveryPixelOfEverySizeComesBackAsItself) {
  for (const std::int32_t extent : {1, 2, 3, 768, 1024, 1080, 1920, 2160, 3200, 3840, 7680, 65536, 100000}) {
    for (std::int32_t pixel = 0; pixel < extent; ++pixel) {
      std::int32_t v = -1;
      ASSERT_TRUE(NormalizeToVirtualDesk(pixel - 1280, -1280, extent, v));
      ASSERT_GE(v, 0);
      ASSERT_LE(v, 65535);
      if (extent <= 65536) {
        ASSERT_EQ(std::int64_t{v} * extent / 65536, pixel) << "of " << extent;
      }
    }
  }
  std::int32_t v = -1;
  EXPECT_TRUE(NormalizeToVirtualDesk(960, 0, 1920, v));
  EXPECT_EQ(v, 32785);
  EXPECT_TRUE(NormalizeToVirtualDesk(1919, 0, 1920, v));
  EXPECT_EQ(v, 65518) << "the middle of the last pixel, not the scale's end";
}

TEST(Normalize, RightAndBottomEdgesAndEmptyScreensFail) {
  std::int32_t v = 123;
  EXPECT_FALSE(NormalizeToVirtualDesk(1920, 0, 1920, v));
  EXPECT_FALSE(NormalizeToVirtualDesk(-1, 0, 1920, v));
  EXPECT_FALSE(NormalizeToVirtualDesk(1920, -1920, 3840, v));
  EXPECT_FALSE(NormalizeToVirtualDesk(0, 0, 0, v));
  EXPECT_FALSE(NormalizeToVirtualDesk(0, 0, -5, v));
  EXPECT_EQ(v, 123);
}

TEST(Normalize, ExtremeOriginsDoNotOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int32_t v = 0;
  // origin + extent exceeds 32 bits here.
  EXPECT_TRUE(NormalizeToVirtualDesk(kMax, kMax - 99, 100, v));
  EXPECT_EQ(v, 65208);
  EXPECT_TRUE(NormalizeToVirtualDesk(kMin, kMin, kMax, v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(NormalizeToVirtualDesk(-2, kMin, kMax, v)) << "the last pixel of a 2^31 - 1 wide screen";
  EXPECT_EQ(v, 65535);
  EXPECT_FALSE(NormalizeToVirtualDesk(-1, kMin, kMax, v));
  EXPECT_TRUE(NormalizeToVirtualDesk(kMin + (kMax - 1) / 2, kMin, kMax, v));
  EXPECT_EQ(v, 32768);
}

// Records every injection call and accepts a scripted number of events per call.
struct FakeSystem {
  std::vector<std::vector<MouseEventRecord>> calls;
  std::vector<unsigned> accepts;  // per call; missing entries accept everything
  std::vector<std::wstring> debug;

  SendEventsFn Send() {
    return [this](const MouseEventRecord* events, unsigned count) {
      calls.emplace_back(events, events + count);
      const std::size_t index = calls.size() - 1;
      return index < accepts.size() ? accepts[index] : count;
    };
  }
  DebugTextFn Debug() {
    return [this](const wchar_t* text) { debug.emplace_back(text); };
  }
};

const VirtualScreen kScreen{0, 0, 1920, 1080};

TEST(DeliverClick, CursorModeSendsPressAndReleaseWhereTheCursorIs) {
  FakeSystem system;
  ASSERT_TRUE(DeliverClick({0, 0, 100, 500, 500}, kScreen, system.Send(), system.Debug()));
  ASSERT_EQ(system.calls.size(), 1u);
  const auto& events = system.calls[0];
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].flags, kMouseLeftDown);
  EXPECT_EQ(events[1].flags, kMouseLeftUp);
  for (const MouseEventRecord& e : events) {
    EXPECT_EQ(e.dx, 0);
    EXPECT_EQ(e.dy, 0);
    EXPECT_EQ(e.mouseData, 0u);
    EXPECT_EQ(e.extraInfo, 0x4B455354u);
  }
}

TEST(DeliverClick, SavedModeMovesFirstInTheSameCall) {
  FakeSystem system;
  ASSERT_TRUE(DeliverClick({1, 1, 100, 1919, 1079}, kScreen, system.Send(), system.Debug()));
  ASSERT_EQ(system.calls.size(), 1u);
  const auto& events = system.calls[0];
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].flags, 0xC001u);
  EXPECT_EQ(events[0].dx, 65518);
  EXPECT_EQ(events[0].dy, 65505);
  EXPECT_EQ(events[1].flags, kMouseRightDown);
  EXPECT_EQ(events[2].flags, kMouseRightUp);
  EXPECT_EQ(events[1].dx, 0);
  for (const MouseEventRecord& e : events) EXPECT_EQ(e.extraInfo, kInjectedMarker);
}

TEST(DeliverClick, AnyNonZeroButtonIsRightAndAnyModeButOneIsTheCursor) {
  FakeSystem system;
  ASSERT_TRUE(DeliverClick({7, 7, 100, -99999, -99999}, kScreen, system.Send(), system.Debug()));
  ASSERT_EQ(system.calls[0].size(), 2u) << "no move, and the far-away point is not even looked at";
  EXPECT_EQ(system.calls[0][0].flags, kMouseRightDown);
}

TEST(DeliverClick, PointOffTheVirtualScreenInjectsNothing) {
  for (const ClickRequest& r : {ClickRequest{1, 0, 100, -1, 10}, ClickRequest{1, 0, 100, 1920, 10},
                                ClickRequest{1, 0, 100, 10, 1080}, ClickRequest{1, 0, 100, 10, -1}}) {
    FakeSystem system;
    EXPECT_FALSE(DeliverClick(r, kScreen, system.Send(), system.Debug()));
    EXPECT_TRUE(system.calls.empty());
  }
  FakeSystem system;
  EXPECT_FALSE(DeliverClick({1, 0, 100, 0, 0}, VirtualScreen{0, 0, 0, 1080}, system.Send(), system.Debug()));
  EXPECT_TRUE(system.calls.empty());
}

TEST(DeliverClick, AHalfAcceptedClickIsReleasedAndReportedAsFailed) {
  struct Case {
    int mode;
    int button;
    unsigned accepted;
    bool recovery;
  };
  for (const Case c : {Case{0, 0, 1, true}, Case{1, 1, 2, true}, Case{0, 1, 0, false}, Case{1, 0, 1, false},
                       Case{1, 0, 0, false}}) {
    SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.accepted));
    FakeSystem system;
    system.accepts = {c.accepted};
    EXPECT_FALSE(DeliverClick({c.mode, c.button, 100, 5, 5}, kScreen, system.Send(), system.Debug()));
    ASSERT_EQ(system.calls.size(), c.recovery ? 2u : 1u);
    if (c.recovery) {
      ASSERT_EQ(system.calls[1].size(), 1u);
      const MouseEventRecord& release = system.calls[1][0];
      EXPECT_EQ(release.flags, c.button == 0 ? kMouseLeftUp : kMouseRightUp);
      EXPECT_EQ(release.dx, 0);
      EXPECT_EQ(release.extraInfo, kInjectedMarker);
    }
    EXPECT_TRUE(system.debug.empty());
  }
}

TEST(DeliverClick, ARefusedRecoveryLeavesOneDebugLine) {
  FakeSystem system;
  system.accepts = {1, 0};
  EXPECT_FALSE(DeliverClick({0, 0, 100, 0, 0}, kScreen, system.Send(), system.Debug()));
  ASSERT_EQ(system.debug.size(), 1u);
  EXPECT_EQ(system.debug[0], L"KESTUL Auto Clicker: failed to send recovery button-up event.\n");
}

}  // namespace
}  // namespace kestul
