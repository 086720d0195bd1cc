#pragma once
// The descriptions shown in the panels of tabs 0 and 2 when the mouse moves over a setting:
// which panel, whose caption, and the text, joined from its fixed pieces with CR LF.

#include <string_view>
#include <vector>

namespace ombrel::app {

enum class DescriptionPanel {
    Settings,  // tab 0: caption into settingseen, text into LabelTip
    Client,    // tab 2: caption into Label15, text into Text1
};

struct SettingDescription {
    const char* control;  // the control the mouse moves over
    DescriptionPanel panel;
    const char* captionSource;  // the control whose caption the panel shows
    const char* text;
};

const std::vector<SettingDescription>& settingDescriptions();
// nullptr for a control without a description.
const SettingDescription* findSettingDescription(std::string_view control);

// The text box of both panels in their idle state.
inline constexpr const char* kIdleDescriptionText =
    "Drag the mouse over a setting to display its description\r\n";

}  // namespace ombrel::app
