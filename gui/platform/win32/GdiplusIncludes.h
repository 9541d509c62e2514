// GDI+ needs the COM declarations before it; every GDI+ source includes this instead.
#pragma once

// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on
