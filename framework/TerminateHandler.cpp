// Replaces the runtime's verbose terminate handler, which would pull the C++
// demangler and its stdio into every executable (about 70 KB). An exception
// that nothing catches ends the process quietly instead.
#include <stdlib.h>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    abort();
}
}
