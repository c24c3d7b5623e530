// The entry point of every Windows test: per-monitor DPI aware, as the program is, before anything
// else. An unaware process gets scaled cursor, monitor and window coordinates at 125 % and above,
// which would disagree with the program's physical pixels.
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
