#include "app/ProductNames.h"

const CString ProductExeName("TSY.exe");
