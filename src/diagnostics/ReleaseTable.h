#pragma once
// The releases of the printing components, known by the date their files carry. A file whose
// date is none of these is a hotfix or a private build.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel::diagnostics {

struct Release {
    const char* date;   // DD/MM/YYYY, as the files' dates are shown
    const char* label;  // put after the date in a file's caption
};

// In the order they are looked up: the first equal date names the release. Two dates may name
// one release (a re-issue the next day).
inline constexpr std::array<Release, 17> kReleaseTable{{
    {"15/04/2008", " - LMS4.0 UPK05"},
    {"28/09/2007", " - LMS4.0 UPK04"},
    {"05/02/2007", " - LMS4.0 UPK03"},
    {"09/08/2006", " - LMS4.0 UPK02"},
    {"29/11/2005", " - LMS4.0 UPK01"},
    {"26/11/2008", " - LMS4.0 UPK06"},
    {"29/06/2007", " - LMS4.5 UPK01"},
    {"17/03/2008", " - LMS4.5 UPK02"},
    {"27/09/2008", " - LMS4.5 UPK03"},
    {"28/09/2008", " - LMS4.5 UPK03"},
    {"10/02/2007", " - LMS4.5"},
    {"31/08/2009", " - LMS4.5 UPK05"},
    {"12/04/2005", " - LMS4.0"},
    {"16/08/2008", " - AU 5.0 / 2008"},
    {"07/08/2008", " - AU 5.0 / 2008"},
    {"05/04/2009", " - LMS4.5 UPK04"},
    {"04/04/2009", " - LMS4.5 UPK04"},
}};

// What a file of no known release is shown as, in bold.
inline constexpr const char* kUnknownRelease = " - HF/private";

// The label of the release whose date equals date (DD/MM/YYYY), none when no release has it.
std::optional<std::string> ReleaseLabel(std::string_view date);

}  // namespace ombrel::diagnostics
