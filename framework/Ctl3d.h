#pragma once
#include <windows.h>

// The 3D control look. Windows 95, NT 4.0 and later draw it themselves, so
// this does nothing there and returns FALSE.
BOOL Enable3dControlsStatic();
