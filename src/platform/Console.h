#pragma once
// Whether the program's standard streams go to a terminal (a console window on Windows), for
// output meant for somebody watching, such as a progress bar.

namespace ombrel::platform {

bool standardOutputIsTerminal();
bool standardErrorIsTerminal();

}  // namespace ombrel::platform
