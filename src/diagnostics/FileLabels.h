#pragma once
// The " Files Information " frame of tab 0 filled from FileInformation.

#include <QLabel>

#include <array>

#include "core/AppContext.h"
#include "diagnostics/FileInformation.h"

namespace ombrel::diagnostics {

// Examines the files of CurrentServer and shows each caption on its label of FI, bold for a
// file of no known release and normal weight otherwise.
void ShowFileInformation(core::AppContext& context,
                         const std::array<QLabel*, kComponentFileCount>& FI);

}  // namespace ombrel::diagnostics
