#pragma once
// The disks a file dialog shows when the machine that runs the tool is not the host: on a
// simulated farm the local machine's drives are folders of the farm, and the dialog must show
// those and hand back Windows paths, never the host's own files.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ombrel::app {

struct FileDialogDisks {
    // Each drive as the dialog lists it ("C:") and the host folder that holds it.
    std::vector<std::pair<std::string, std::string>> drives;
    // A Windows path to the host folder it names; "" when it names none.
    std::function<std::string(const std::string& windowsPath)> hostPath;
    // A host path back to the Windows path; "" when it lies on none of the drives.
    std::function<std::string(const std::string& hostPath)> windowsPath;
};

}  // namespace ombrel::app
