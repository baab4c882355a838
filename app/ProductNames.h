#pragma once
#include "framework/String.h"

// The product executable's file name: the first installed file, the target
// of the shortcuts and the name of the App Paths key.
extern const CString ProductExeName;
