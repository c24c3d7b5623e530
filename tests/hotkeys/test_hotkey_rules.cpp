#include <gtest/gtest.h>

#include "common/message_texts.h"
#include "hotkeys/hotkey_rules.h"

namespace kestul {
namespace {

TEST(HotkeyConflict, ListsEachFailedTriggerWithItsTrailingBlank) {
  const std::wstring prefix = kHotkeyConflictText;
  const std::wstring suffix = kHotkeyConflictTextAfterKeys;
  EXPECT_EQ(HotkeyConflictText({}, 8), L"");
  EXPECT_EQ(HotkeyConflictText({.toggle = true}, 3), prefix + L"F3 " + suffix);
  EXPECT_EQ(HotkeyConflictText({.emergencyStop = true}, 8), prefix + L"F9 " + suffix);
  EXPECT_EQ(HotkeyConflictText({true, true, true}, 100), prefix + L"F6 F9 マウス横ボタン1 " + suffix);
  EXPECT_EQ(HotkeyConflictText({.registerPosition = true, .toggle = true}, 101),
            prefix + L"F6 マウス横ボタン2 " + suffix);
}

TEST(SideButton, TheBoundButtonIsSwallowedOnBothEdgesAndTogglesOnPress) {
  EXPECT_EQ(DecideSideButton(false, 100, kMessageXButtonDown, 1), SideButtonAction::SwallowAndToggle);
  EXPECT_EQ(DecideSideButton(false, 100, kMessageXButtonUp, 1), SideButtonAction::Swallow);
  EXPECT_EQ(DecideSideButton(false, 101, kMessageXButtonDown, 2), SideButtonAction::SwallowAndToggle);
  EXPECT_EQ(DecideSideButton(false, 101, kMessageXButtonUp, 2), SideButtonAction::Swallow);
}

TEST(SideButton, EverythingElsePassesThrough) {
  EXPECT_EQ(DecideSideButton(false, 100, kMessageXButtonDown, 2), SideButtonAction::Pass);
  EXPECT_EQ(DecideSideButton(false, 101, kMessageXButtonDown, 1), SideButtonAction::Pass);
  EXPECT_EQ(DecideSideButton(true, 100, kMessageXButtonDown, 1), SideButtonAction::Pass);
  EXPECT_EQ(DecideSideButton(false, 8, kMessageXButtonDown, 1), SideButtonAction::Pass);
  EXPECT_EQ(DecideSideButton(false, 100, 0x0201 /* WM_LBUTTONDOWN */, 1), SideButtonAction::Pass);
  EXPECT_EQ(DecideSideButton(false, 100, 0x0200 /* WM_MOUSEMOVE */, 1), SideButtonAction::Pass);
}

}  // namespace
}  // namespace kestul
