// The program's main window, hosted on a thread of this process. When the system refuses a click
// part-way, the run ends Faulted with the input error and no mouse button is left held down: the
// worker's clicks really go through SendInput, except that the k-th click has only its first events
// accepted, as when a click lands on a window of higher integrity. Notifications Windows sends
// while the window waits inside a save or a stop, its registration for suspend and resume, its
// answer to Windows' question for its size at another DPI, a colour change passed on to its
// controls, and the names screen readers find for them.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "app/app_state.h"
#include "app/main_window.h"
#include "clicker/click_worker.h"
#include "clicker/send_input_adapter.h"
#include "geometry/enumerate_monitors.h"
#include "geometry/monitor_layout.h"
#include "support/app_fixture.h"
#include "ui/controls.h"
#include "ui/ui_rules.h"

namespace kestul {
namespace {

using test::HeldClickAdapter;
using test::RecordingWindow;
using test::WaitUntil;

// Real injection, but click number `refuseAt` has only its first `accepted` events taken.
class PartlyRefusingAdapter final : public InputAdapter {
 public:
  PartlyRefusingAdapter(int refuseAt, unsigned accepted, std::atomic<int>& clicks)
      : refuseAt_(refuseAt), accepted_(accepted), clicks_(clicks) {}
  bool SendClick(const ClickRequest& request) override {
    const bool refuse = ++clicks_ == refuseAt_;
    bool refusedOnce = false;
    return DeliverClick(
        request, CurrentVirtualScreen(),
        [&](const MouseEventRecord* events, unsigned count) {
          if (!refuse || refusedOnce) return SendMouseEvents(events, count);
          refusedOnce = true;
          return accepted_ == 0 ? 0u : SendMouseEvents(events, accepted_);
        },
        [](const wchar_t*) {});
  }

 private:
  int refuseAt_;
  unsigned accepted_;
  std::atomic<int>& clicks_;
};

// The program's main window, created as the program creates it, on a thread of its own, with the
// adapter swapped in after creation.
class MainWindowThread {
 public:
  MainWindowThread(const AppSettings& settings, std::unique_ptr<InputAdapter> adapter) {
    state_.settings = settings;
    state_.settingsFolder = folder_.path();
    thread_ = std::thread([this, owned = std::move(adapter)]() mutable { Run(std::move(owned)); });
    WaitUntil([this] { return window_.load() != nullptr; }, 10000);
  }
  ~MainWindowThread() { Close(); }
  MainWindowThread(const MainWindowThread&) = delete;
  MainWindowThread& operator=(const MainWindowThread&) = delete;

  HWND window() const { return window_.load(); }
  HWND Control(int id) const { return GetDlgItem(window(), id); }
  const std::wstring& folder() const { return folder_.path(); }
  // Read only while the window's thread is idle (after an answer from it) or gone.
  const AppState& state() const { return state_; }
  AppState& state() { return state_; }
  void Close() {
    if (window_.load() != nullptr) PostMessageW(window_.load(), WM_CLOSE, 0, 0);
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Run(std::unique_ptr<InputAdapter> adapter) {
    HWND created = CreateMainWindow(GetModuleHandleW(nullptr), state_);
    if (created == nullptr) return;
    state_.worker = std::make_unique<ClickWorker>(created, std::move(adapter));
    ShowWindow(created, SW_SHOWNOACTIVATE);
    window_ = created;
    RunMessageLoop(created);
    state_.worker.reset();
    window_ = nullptr;
  }

  test::TempFolder folder_;
  AppState state_;
  std::atomic<HWND> window_{nullptr};
  std::thread thread_;
};

bool ButtonHeld() {
  return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 || (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
}

// Every partial acceptance is a rule of DeliverClick, tested natively; here the window's answer to
// one of them: a press taken, its release refused, at the second click.
TEST(MainWindow, ARefusedClickFaultsWithTheInputErrorAndLeavesNoButtonHeld) {
  const int refuseAt = 2;
  const RECT area = test::TargetArea();
  RecordingWindow target(area);
  test::MoveCursorTo(test::PointIn(area, 50, 50));
  AppSettings settings;
  settings.interval_ms = 20;
  std::atomic<int> clicks{0};
  MainWindowThread app(settings, std::make_unique<PartlyRefusingAdapter>(refuseAt, 1, clicks));
  ASSERT_NE(app.window(), nullptr);

  test::PostButtonClick(app.window(), IDC_START_STOP);
  HWND box = test::WaitForMessageBox(GetCurrentProcessId(), kInputErrorCaption, 15000);
  ASSERT_NE(box, nullptr) << "no input error after " << clicks << " clicks";
  EXPECT_EQ(test::MessageBoxText(box), kInputRejectedText);
  test::SaveScreenshot(L"message-input-rejected", box);
  test::PumpFor(200);  // let the target take what reached it
  EXPECT_FALSE(ButtonHeld()) << "a button is still held down";
  EXPECT_EQ(target.Count(WM_LBUTTONDOWN), target.Count(WM_LBUTTONUP)) << target.Describe();
  EXPECT_GE(target.Count(WM_LBUTTONUP), refuseAt - 1) << "the clicks before the refused one landed";
  test::DismissMessageBox(box);

  EXPECT_EQ(test::WindowText(app.Control(IDC_START_STOP)), kStartCaption);
  test::PumpFor(300);
  EXPECT_EQ(clicks, refuseAt) << "no click after the refused one";
  EXPECT_FALSE(ButtonHeld());
}

// Modern Standby tells only the windows that asked; the registrations last as long as the window.
TEST(MainWindow, IsRegisteredForSuspendAndResumeAndTheDisplayWhileItExists) {
  MainWindowThread app(AppSettings{}, std::make_unique<SendInputAdapter>());
  ASSERT_NE(app.window(), nullptr);
  EXPECT_TRUE(app.state().suspendNotification);
  EXPECT_TRUE(app.state().displayNotification);
  app.Close();
  EXPECT_FALSE(app.state().suspendNotification);
  EXPECT_FALSE(app.state().displayNotification);
}

// Under Modern Standby the console display turning off stops clicking; dimming it does not.
TEST(MainWindow, TheDisplayTurningOffStopsClickingUnderModernStandby) {
  std::atomic<int> clicks{0};
  const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  MainWindowThread app(AppSettings{}, std::make_unique<HeldClickAdapter>(clicks, release.get()));
  ASSERT_NE(app.window(), nullptr);
  app.state().modernStandby = true;  // before the window's thread reads it: the messages below order it
  test::PostButtonClick(app.window(), IDC_START_STOP);
  ASSERT_TRUE(test::TextBecomes(app.Control(IDC_START_STOP), kStopCaption));
  for (const DWORD displayState : {DWORD{2}, DWORD{0}}) {
    alignas(POWERBROADCAST_SETTING) std::array<unsigned char, sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)>
        bytes{};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes.data());
    setting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    setting->DataLength = sizeof(DWORD);
    std::memcpy(setting->Data, &displayState, sizeof(DWORD));
    EXPECT_EQ(test::SendWithTimeout(app.window(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                    reinterpret_cast<LPARAM>(setting)),
              TRUE);
    EXPECT_EQ(test::WindowText(app.Control(IDC_START_STOP)),
              displayState == 0 ? kStartCaption : kStopCaption);
  }
}

// A save may wait for settings.ini held by another program, serving what is sent meanwhile: a
// suspend then must not be lost to the start that is saving, and another program's commands
// must neither start nor register (and save) under it.
TEST(MainWindow, AStopAskedForWhileAStartSavesCancelsTheStart) {
  std::atomic<int> clicks{0};
  const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  MainWindowThread app(AppSettings{}, std::make_unique<HeldClickAdapter>(clicks, release.get()));
  ASSERT_NE(app.window(), nullptr);
  const std::wstring settings = app.folder() + L"\\settings.ini";
  ASSERT_TRUE(test::WriteFileBytes(settings, "held"));
  {
    const UniqueFileHandle held = test::HoldWithoutDeleteSharing(settings);  // the save's replacement waits
    ASSERT_TRUE(held);
    test::PostButtonClick(app.window(), IDC_START_STOP);
    ASSERT_TRUE(WaitUntil([&] { return test::FileExists(settings + L".tmp"); }, 5000, 1));
    EXPECT_EQ(test::SendWithTimeout(app.window(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0), TRUE);
    test::SendWithTimeout(app.window(), WM_COMMAND, MAKEWPARAM(IDC_START_STOP, BN_CLICKED), 0);
    test::SendWithTimeout(app.window(), WM_COMMAND, MAKEWPARAM(IDC_REGISTER_POSITION, BN_CLICKED), 0);
  }
  EXPECT_TRUE(test::TextStays(app.Control(IDC_START_STOP), kStartCaption, 1500));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(test::AnyMessageBox(GetCurrentProcessId()), nullptr) << "the save itself went through";
  EXPECT_EQ(test::ReadFileBytes(settings), test::SettingsFile()) << "a position was registered";
}

// The state at the moment the window has answered a sent F9, before the run's last status (which
// returns every stopped state to Idle) comes in: a hook on the window's thread, run right after.
std::atomic<const AppState*> watchedState{nullptr};
std::atomic<RunState> stateAfterF9{RunState::Idle};
std::atomic<bool> answeredF9{false};

LRESULT CALLBACK AfterAnswer(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code >= 0 && sent->message == WM_HOTKEY && watchedState.load() != nullptr) {
    stateAfterF9 = watchedState.load()->runState;
    answeredF9 = true;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// F9 stops; its wait for the click in progress serves a display change sent meanwhile, which
// with a saved position leaves the program Faulted, and the stop around it keeps that.
TEST(MainWindow, ADisplayChangeInsideAnotherStopStillFaults) {
  std::atomic<int> clicks{0};
  const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  AppSettings settings;
  settings.position_saved = true;
  settings.monitor_layout = LayoutSignature(EnumerateMonitors());
  MainWindowThread app(settings, std::make_unique<HeldClickAdapter>(clicks, release.get()));
  ASSERT_NE(app.window(), nullptr);
  watchedState = &app.state();
  const UniqueHook hook(SetWindowsHookExW(WH_CALLWNDPROCRET, AfterAnswer, nullptr,
                                          GetWindowThreadProcessId(app.window(), nullptr)));
  ASSERT_TRUE(hook);
  test::PostButtonClick(app.window(), IDC_START_STOP);
  ASSERT_TRUE(WaitUntil([&] { return clicks == 1; }, 5000));
  // Sent messages are taken in the order they came: F9 first, the display change inside its stop.
  ASSERT_TRUE(SendNotifyMessageW(app.window(), WM_HOTKEY, HOTKEY_EMERGENCY_STOP, 0));
  EXPECT_EQ(test::SendWithTimeout(app.window(), WM_DISPLAYCHANGE, 32, 0), 0);
  SetEvent(release.get());
  ASSERT_TRUE(WaitUntil([&] { return answeredF9.load(); }, 5000));
  watchedState = nullptr;
  EXPECT_EQ(stateAfterF9.load(), RunState::Faulted);
}

// How often each control was sent WM_SYSCOLORCHANGE, by its slot; counted on the window's thread.
std::array<std::atomic<int>, kControlCount> colourChanges{};

LRESULT CALLBACK CountColourChanges(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  const int slot = GetDlgCtrlID(sent->hwnd) - kFirstControlId;
  if (code >= 0 && sent->message == WM_SYSCOLORCHANGE && slot >= 0 && slot < kControlCount) {
    ++colourChanges.at(static_cast<std::size_t>(slot));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The common controls hear of a change of the system's colours only from their window.
TEST(MainWindow, PassesAChangeOfTheSystemsColoursOnToEveryControl) {
  MainWindowThread app(AppSettings{}, std::make_unique<SendInputAdapter>());
  ASSERT_NE(app.window(), nullptr);
  const UniqueHook hook(SetWindowsHookExW(WH_CALLWNDPROC, CountColourChanges, nullptr,
                                          GetWindowThreadProcessId(app.window(), nullptr)));
  ASSERT_TRUE(hook);
  test::SendWithTimeout(app.window(), WM_SYSCOLORCHANGE, 0, 0);
  for (int slot = 0; slot < kControlCount; ++slot) {
    EXPECT_EQ(colourChanges.at(static_cast<std::size_t>(slot)).load(), 1)
        << "control " << slot + kFirstControlId;
  }
}

struct Accessible {
  std::wstring name;
  long role = 0;
};

// What the system's accessibility proxy tells a screen reader of a control.
Accessible AccessibleOf(HWND control) {
  Accessible found;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return found;
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object->get_accName(self, &name) == S_OK && name != nullptr) found.name = name;
  SysFreeString(name);
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) found.role = role.lVal;
  object->Release();
  return found;
}

// A control is named by its text without the access key's "&" (Windows may drop the whole "(&X)"
// of a Japanese label), an edit or a combo box by the text of its label. Wine's proxy has no kind
// for combo boxes and names them by their selection: there only the label's place is checked.
TEST(MainWindow, ScreenReadersFindTheNameOfEveryControlOfBothViews) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  MainWindowThread app(AppSettings{}, std::make_unique<SendInputAdapter>());
  ASSERT_NE(app.window(), nullptr);
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const ControlSpec& c = kControls[i];
    const Accessible found = AccessibleOf(app.Control(c.id));
    char shown[512] = {};  // the runner's log tells what Windows names each control
    WideCharToMultiByte(CP_UTF8, 0, found.name.c_str(), -1, shown, static_cast<int>(sizeof(shown)), nullptr,
                        nullptr);
    std::printf("control %d, role %ld: %s\n", c.id, found.role, shown);
    const int named = IsField(c) ? kControls[i - 1].id : c.id;
    if (c.className == std::wstring_view(L"COMBOBOX") && found.role != ROLE_SYSTEM_COMBOBOX) {
      EXPECT_EQ(GetWindow(app.Control(c.id), GW_HWNDPREV), app.Control(named));
      continue;
    }
    const std::wstring text = test::WindowText(app.Control(named));
    std::wstring whole = text, bare = text;
    if (const std::size_t key = text.find(L'&'); key != std::wstring::npos) {
      whole.erase(key, 1);
      const bool inParentheses = key > 0 && text[key - 1] == L'(' && text.find(L')', key) == key + 2;
      bare = inParentheses ? bare.erase(key - 1, 4) : whole;
    }
    EXPECT_TRUE(!whole.empty() && (found.name == whole || found.name == bare)) << "control " << c.id;
  }
  app.Close();
  if (SUCCEEDED(com)) CoUninitialize();
}

// Caption, menu bar and frame do not scale in proportion to the DPI, so before a move to a monitor
// of another DPI Windows asks the window for its exact size; the answer must give the scaled client.
TEST(MainWindow, AnswersTheSizeForAnExactClientAtAnotherDpi) {
  MainWindowThread app(AppSettings{}, std::make_unique<SendInputAdapter>());
  ASSERT_NE(app.window(), nullptr);
  const auto style = static_cast<DWORD>(GetWindowLongW(app.window(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(app.window(), GWL_EXSTYLE));
  for (const UINT dpi : {120u, 144u, 192u}) {
    SCOPED_TRACE(dpi);
    SIZE size{};
    EXPECT_NE(SendMessageW(app.window(), WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)), 0);
    RECT expected{0, 0, static_cast<LONG>(ScaleForDpi(380, dpi)), static_cast<LONG>(ScaleForDpi(330, dpi))};
    AdjustWindowRectExForDpi(&expected, style, GetMenu(app.window()) != nullptr, exStyle, dpi);
    EXPECT_EQ(size.cx, expected.right - expected.left);
    EXPECT_EQ(size.cy, expected.bottom - expected.top);
  }
}

}  // namespace
}  // namespace kestul
