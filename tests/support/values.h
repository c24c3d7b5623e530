// Win32 records compared as values: equality and a printer, so that a failed check shows both
// sides. GoogleTest finds them by argument-dependent lookup, which for these global types means
// the global namespace.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "support/recording_window.h"

inline bool operator==(const POINT& a, const POINT& b) {
  return a.x == b.x && a.y == b.y;
}
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const POINT& p, std::ostream* out) {
  *out << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace kestul::test {

// Clicks arrived, and every one of them at `p`.
inline ::testing::AssertionResult AllLandedAt(const RecordingWindow& target, POINT p) {
  const std::vector<Received>& received = target.received();
  if (received.empty()) return ::testing::AssertionFailure() << "no click arrived";
  const auto stray =
      std::find_if(received.begin(), received.end(), [p](const Received& r) { return !(r.screen == p); });
  if (stray == received.end()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "a click landed at " << stray->screen.x << "," << stray->screen.y
                                       << ", not " << p.x << "," << p.y << ":\n"
                                       << target.Describe();
}

}  // namespace kestul::test
