// Composing one click as mouse events and delivering it through an injection function.
// Platform-free so that every acceptance count can be exercised without a desktop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "clicker/input_adapter.h"

namespace kestul {

// Values of the system's MOUSEEVENTF_* flags.
constexpr std::uint32_t kMouseMove = 0x0001;
constexpr std::uint32_t kMouseLeftDown = 0x0002;
constexpr std::uint32_t kMouseLeftUp = 0x0004;
constexpr std::uint32_t kMouseRightDown = 0x0008;
constexpr std::uint32_t kMouseRightUp = 0x0010;
constexpr std::uint32_t kMouseVirtualDesk = 0x4000;
constexpr std::uint32_t kMouseAbsolute = 0x8000;

// Every event we inject carries this in its extra-information field ("KEST").
constexpr std::uintptr_t kInjectedMarker = 0x4B455354;

struct MouseEventRecord {
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::uint32_t mouseData = 0;
  std::uint32_t flags = 0;
  std::uintptr_t extraInfo = 0;
  bool operator==(const MouseEventRecord&) const = default;
};

struct VirtualScreen {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The absolute value (0..65535) aimed at the middle of pixel c of [origin, origin + extent);
// false outside or for extent <= 0.
bool NormalizeToVirtualDesk(std::int32_t c, std::int32_t origin, std::int32_t extent, std::int32_t& value);

// Injects `count` events in one call and returns how many the system accepted.
using SendEventsFn = std::function<unsigned(const MouseEventRecord* events, unsigned count)>;
using DebugTextFn = std::function<void(const wchar_t* text)>;

// The whole click: compose, send once, release a half-accepted press.
bool DeliverClick(const ClickRequest& request, const VirtualScreen& screen, const SendEventsFn& send,
                  const DebugTextFn& debugText);

}  // namespace kestul
