#include "framework/Ctl3d.h"

BOOL Enable3dControlsStatic()
{
    // Every system this program runs on is version 4 or later; the separate
    // 3D-controls library only ever served older ones.
    return FALSE;
}
