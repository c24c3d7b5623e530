// libFuzzer target: any bytes give one of the loader's outcomes, and an accepted record survives
// being written and read again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/message_texts.h"
#include "settings/settings_store.h"

namespace {

using kestul::AppSettings;
using kestul::SettingsLoadResult;

// What the text alone can be refused with; an unreadable file is the loader's own case.
const wchar_t* const kRefusals[] = {
    kestul::kWarningSyntax,     kestul::kWarningVersion, kestul::kWarningUnknownVersion,
    kestul::kWarningMissingKey, kestul::kWarningMode,    kestul::kWarningButton,
    kestul::kWarningNumber,     kestul::kWarningLayout,  kestul::kWarningBinding,
};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "settings text fuzz: %s\n", what);
  std::abort();
}

bool IsRefusal(const std::wstring& warning) {
  for (const wchar_t* refusal : kRefusals) {
    if (warning == refusal) return true;
  }
  return false;
}

// The writer keeps a layout only when every unit is printable ASCII.
bool IsWritableLayout(const std::wstring& layout) {
  return layout.empty() || !kestul::ToPrintableAscii(layout).empty();
}

bool IsAccepted(const SettingsLoadResult& result) {
  return !result.protectSettingsFile && result.warning.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SettingsLoadResult result = kestul::ParseSettingsText(bytes);
  if (result.protectSettingsFile) {
    Require(result.settings == AppSettings{}, "a refusal kept values from the file");
    Require(IsRefusal(result.warning), "a refusal without one of the warning texts");
    return 0;
  }
  Require(result.warning.empty(), "an accepted file with a warning");

  const SettingsLoadResult again = kestul::ParseSettingsText(kestul::FormatSettingsFile(result.settings));
  if (IsWritableLayout(result.settings.monitor_layout)) {
    Require(IsAccepted(again), "the written form of an accepted record is refused");
    Require(again.settings == result.settings, "the written form of an accepted record reads back different");
    return 0;
  }
  // The reader takes any layout bytes, the writer only printable ones: such a layout is written
  // empty, which a saved position then cannot do without.
  AppSettings expected = result.settings;
  expected.monitor_layout.clear();
  if (expected.position_saved) {
    Require(again.warning == kestul::kWarningLayout,
            "an unwritable layout with a saved position is not refused");
  } else {
    Require(IsAccepted(again) && again.settings == expected, "an unwritable layout is not written empty");
  }
  return 0;
}
