// Resource ids shared by the resource script and the code.
#pragma once

#define IDD_ABOUT 101
#define IDC_ABOUT_LINK 1001

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The version and the product page address, generated from the top-level CMakeLists.txt.
#include "product_info.h"

#define KESTUL_COPYRIGHT_TEXT "Copyright (C) 2026 KESTUL"
