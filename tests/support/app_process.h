// Finding, starting and driving the real KestulAutoClicker.exe from a test process.
#pragma once

#include <windows.h>

#include <string>

namespace kestul::test {

// The built exe, beside the test executables.
std::wstring AppExePath();

}  // namespace kestul::test
