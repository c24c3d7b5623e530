// Resource ids shared by the resource script and the code.
#pragma once

#define IDD_ABOUT 101
#define IDC_ABOUT_LINK 1001

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define KESTUL_VERSION_TEXT "0.1.0"
#define KESTUL_COPYRIGHT_TEXT "Copyright (C) 2026 KESTUL"
#define KESTUL_PRODUCT_URL "https://kestul.example/autoclicker/"
