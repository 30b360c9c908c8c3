// placeholder
#include "driver.h"
namespace velmor { int runMain(int, char**) { return 0; } }
