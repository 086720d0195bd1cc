#pragma once
// The resultant printing policy of one session: obtaining it from the farm library and turning
// it into what tab 1 shows. No widget here: the tab applies the view to its controls.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/AppContext.h"
#include "platform/FarmLibrary.h"
#include "sessions/SessionListing.h"

namespace ombrel::sessions {

// The progress maximum of a policy display; the printer steps stop there.
inline constexpr int kPolicyProgressMaximum = 20;

struct PolicyReading {
    // The policy, when it was obtained.
    std::optional<platform::ResultantPolicy> policy;
    // Why the session cannot be asked at all (server or session object that cannot be
    // opened, a version without a known policy): the text shown to the user. "" when the
    // library was asked, whether it answered or not.
    std::string refusal;
    // The library's error number and description when it was asked and gave no policy.
    std::string libraryError;
};

// Reads the server and the session number out of a session entry, opens the server and
// session objects and reads the policy through the property the server's version offers
// ("ResultantPolicy" on 4.0 and 5.0, "AppliedPolicy3" on 4.5), tracing each step.
PolicyReading ObtainPolicy(const core::AppContext& context, std::string_view entry);

// The same for a server named as the farm names it (opened in capitals) and a session number.
PolicyReading ObtainPolicy(const core::AppContext& context, const std::string& server,
                           int sessionId);

struct LabelText {
    std::string text;
    bool bold = false;

    bool operator==(const LabelText&) const = default;
};

// One label made at run time in the session printers frame; positions in twips.
struct PrinterLabel {
    std::string caption;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PrinterLabel&) const = default;
};

struct PrinterLabels {
    int printer = 0;  // k, from 1, of the printer among SessionPrinters
    PrinterLabel name;
    PrinterLabel driver;
};

// What the policy changes on tab 1, by control name. A control it does not name keeps what
// ClearAllSettings left.
struct PolicyView {
    std::vector<std::string> tickedBoxes;
    bool printerMappingEmphasis = false;  // DisableClientPrinterMapping stands out
    std::map<std::string, LabelText> labels;
    bool showPrinters = false;  // Frame11
    int sessionPrinters = 0;    // NbSessionPrinters, when shown
    std::vector<PrinterLabels> printerLabels;
};

// Reads the rules, the channel limits and the session printers, tracing each and moving the
// wait window's progress.
PolicyView ReadPolicyRules(const core::AppContext& context,
                           const platform::ResultantPolicy& policy);

}  // namespace ombrel::sessions
