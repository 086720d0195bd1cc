#include "platform/Console.h"

#ifdef _WIN32
#include <io.h>

#include <cstdio>
#else
#include <unistd.h>
#endif

namespace ombrel::platform {

#ifdef _WIN32

bool standardOutputIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}

bool standardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

#else

bool standardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

#endif

}  // namespace ombrel::platform
