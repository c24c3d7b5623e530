// Composing and delivering one click, with every acceptance count the system can answer.
#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <vector>

#include "clicker/click_events.h"

namespace kestul {

// Found by GoogleTest beside MouseEventRecord, so failures show whole events.
static void PrintTo(const MouseEventRecord& e, std::ostream* out) {
  *out << "{dx " << e.dx << ", dy " << e.dy << ", data " << e.mouseData << ", flags 0x" << std::hex << e.flags
       << ", extra 0x" << e.extraInfo << std::dec << "}";
}

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

constexpr std::uint32_t kMoveAbsolute = 0xC001;  // move, virtual desktop, absolute

MouseEventRecord Event(std::uint32_t flags, std::int32_t dx = 0, std::int32_t dy = 0) {
  return {.dx = dx, .dy = dy, .mouseData = 0, .flags = flags, .extraInfo = kInjectedMarker};
}

ClickRequest Request(ClickMode mode, ClickButton button, std::int32_t x = 500, std::int32_t y = 500,
                     bool swapped = false) {
  return {.mode = mode, .button = button, .interval_ms = 100, .x = x, .y = y, .buttonsSwapped = swapped};
}

// 左クリック is the primary button and 右クリック the secondary one: with the buttons swapped, the
// physical right and left. A saved position is moved to first, in the same call; any mode but
// Saved is the cursor's and any button but Left the secondary one.
TEST(DeliverClick, SendsTheMoveAndThePressAndReleaseOfThePhysicalButtonInOneCall) {
  const MouseEventRecord leftDown = Event(kMouseLeftDown), leftUp = Event(kMouseLeftUp);
  const MouseEventRecord rightDown = Event(kMouseRightDown), rightUp = Event(kMouseRightUp);
  const auto odd = static_cast<ClickButton>(7);
  struct Case {
    ClickRequest request;
    std::vector<MouseEventRecord> events;
  };
  int row = 0;
  for (const Case& c :
       {Case{Request(ClickMode::Current, ClickButton::Left), {leftDown, leftUp}},
        Case{Request(ClickMode::Current, ClickButton::Right), {rightDown, rightUp}},
        Case{Request(ClickMode::Current, ClickButton::Left, 0, 0, true), {rightDown, rightUp}},
        Case{Request(ClickMode::Current, ClickButton::Right, 0, 0, true), {leftDown, leftUp}},
        Case{Request(ClickMode::Saved, ClickButton::Right, 1919, 1079),
             {Event(kMoveAbsolute, 65518, 65505), rightDown, rightUp}},
        Case{Request(ClickMode::Saved, ClickButton::Left, 1919, 1079, true),
             {Event(kMoveAbsolute, 65518, 65505), rightDown, rightUp}},
        // No move, and the far-away point is not even looked at.
        Case{Request(static_cast<ClickMode>(7), odd, -99999, -99999), {rightDown, rightUp}},
        Case{Request(static_cast<ClickMode>(7), odd, -99999, -99999, true), {leftDown, leftUp}}}) {
    SCOPED_TRACE("row " + std::to_string(++row));
    FakeSystem system;
    ASSERT_TRUE(DeliverClick(c.request, kScreen, system.Send(), system.Debug()));
    EXPECT_EQ(system.calls, std::vector<std::vector<MouseEventRecord>>{c.events});
  }
}

TEST(DeliverClick, PointOffTheVirtualScreenInjectsNothing) {
  for (const ClickRequest& r : {Request(ClickMode::Saved, ClickButton::Left, -1, 10),
                                Request(ClickMode::Saved, ClickButton::Left, 1920, 10),
                                Request(ClickMode::Saved, ClickButton::Left, 10, 1080),
                                Request(ClickMode::Saved, ClickButton::Left, 10, -1)}) {
    FakeSystem system;
    EXPECT_FALSE(DeliverClick(r, kScreen, system.Send(), system.Debug()));
    EXPECT_TRUE(system.calls.empty());
  }
  FakeSystem system;
  EXPECT_FALSE(DeliverClick(Request(ClickMode::Saved, ClickButton::Left, 0, 0), VirtualScreen{0, 0, 0, 1080},
                            system.Send(), system.Debug()));
  EXPECT_TRUE(system.calls.empty());
}

TEST(DeliverClick, AHalfAcceptedClickIsReleasedAndReportedAsFailed) {
  struct Case {
    ClickMode mode;
    ClickButton button;
    unsigned accepted;
    bool recovery;
  };
  for (const Case c : {Case{ClickMode::Current, ClickButton::Left, 1, true},
                       Case{ClickMode::Saved, ClickButton::Right, 2, true},
                       Case{ClickMode::Current, ClickButton::Right, 0, false},
                       Case{ClickMode::Saved, ClickButton::Left, 1, false},
                       Case{ClickMode::Saved, ClickButton::Left, 0, false}}) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.mode)) + "/" + std::to_string(c.accepted));
    FakeSystem system;
    system.accepts = {c.accepted};
    EXPECT_FALSE(DeliverClick(Request(c.mode, c.button, 5, 5), kScreen, system.Send(), system.Debug()));
    ASSERT_EQ(system.calls.size(), c.recovery ? 2u : 1u);
    if (c.recovery) {
      const MouseEventRecord release = Event(c.button == ClickButton::Left ? kMouseLeftUp : kMouseRightUp);
      EXPECT_EQ(system.calls[1], std::vector<MouseEventRecord>{release});
    }
    EXPECT_TRUE(system.debug.empty());
  }
}

TEST(DeliverClick, ARefusedRecoveryLeavesOneDebugLine) {
  FakeSystem system;
  system.accepts = {1, 0};
  EXPECT_FALSE(
      DeliverClick(Request(ClickMode::Current, ClickButton::Left), kScreen, system.Send(), system.Debug()));
  ASSERT_EQ(system.debug.size(), 1u);
  EXPECT_EQ(system.debug[0], L"KESTUL Auto Clicker: failed to send recovery button-up event.\n");
}

}  // namespace
}  // namespace kestul
