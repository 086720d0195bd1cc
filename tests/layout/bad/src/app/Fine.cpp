// The window may include the core.
#include "core/AppContext.h"
