// The texts of the description panels and the captions they name, written out here as an
// administrator reads them, so that a change of one character in the tool's own table shows.

#include <QAbstractButton>
#include <QGroupBox>
#include <QScrollArea>
#include <QTest>

#include "MainWindowFixture.h"
#include "client/ClientTab.h"
#include "support/NamedControl.h"

namespace ombrel::app {
namespace {

struct Described {
    const char* control;
    int tab;  // 0 writes to settingseen and LabelTip, 2 to Label15 and Text1
    const char* caption;
    const char* text;
};

const Described kDescribed[] = {
    {"OUPD", 0, "Ombrel Universal Printer",
     "The latest 32-bit Windows clients are capable of receiving and displaying print jobs in a "
     "viewer application on the client. For such a client, it is possible to create a single, "
     "generic universal printer that is not bound to any of the underlying client printers. This "
     "printer is generic in the sense that it does not know about or manage any device-specific "
     "settings. As such, it is also more efficient to use because there is no need for "
     "capabilities or document settings exchanges with the client when printing. Because creating "
     "an additional printer within a session incurs overhead, by default, the creation of the "
     "generic Universal Printer Driver printer is turned off.\r\n"
     "Setting the Options requires Fix#155984"},
    {"NoUPDFallback", 0, "No UPD fallback for disallowed drivers",
     "When a driver name presented from the client fails the compatibility test (for example, the "
     "driver name is present in an exclude list or not present in an allow-only list) assuming "
     "Universal Printer Driver fallback is enabled, the normal behavior is to create the printer "
     "using the Universal Printer Driver. If set, this flag changes the default and prevents "
     "Universal Printer Driver creation for printers whose drivers fail the compatibility test."},
    {"PreviewOnClient", 0, "Force Preview on Client (all UPD printers)",
     "Note: Prior Fix#155984, the Preview on client option was always enabled for the Ombrel "
     "Universal printer and could not be changed. After the latest enhancements made to the Ombrel "
     "Universal printer, the Print Preview is disabled by default and print jobs are sent directly "
     "to the local default printer.\r\n"
     "This setting allows you to alter the default behavior and enable the Print Preview for ALL "
     "autocreated printers that use UPD, including the Ombrel Universal Printer by default.\r\n"
     "User changes using the Printer Fax folder are retained, so all users can use their preferred "
     "options."},
    {"EnableXPS", 0, "Enable Ombrel XPS Universal Printer driver",
     "To enable the XPS Universal Printer driver, it is required to change a registry setting on "
     "the server. By default, the Ombrel XPS Universal Printer driver is not activated.\r\n"
     "To benefit from this enhancement, Aurelo Plugin v.11.0 or higher and .Net Framework 3.0 are "
     "required on the client machine."},
    {"Preview4OUP", 0, "Force Preview on Client (OUP only)",
     "Note: Prior Fix#155984, the Preview on client option was always enabled for the Ombrel "
     "Universal printer and could not be changed. After the latest enhancements made to the Ombrel "
     "Universal printer, the Print Preview is disabled by default and print jobs are sent directly "
     "to the local default printer.\r\n"
     "This setting allows you to alter the default behavior and enable the Print Preview ONLY for "
     "the Ombrel Universal Printer by default. User changes using the Printer Fax folder are "
     "retained, so all users can use their preferred options. Other UPD printers are NOT "
     "affected\r\n"
     "Requires Fix#175118"},
    {"AutoNetPrinters", 0, "AutoConnect Network Printers",
     "The Lumaro Server policies evaluated at logon and reconnect include a special policy rule "
     "called 'Session Printers' that you can use to add and delete network printer connections on "
     "behalf of the user based on various policy criteria. Normally these network printer "
     "connections are added during logons and reconnects and then deleted during logoff. These two "
     "flags help the administrator disable all printer connection additions and deletions "
     "temporarily without having to disable many different policies. Turning off the disconnection "
     "of network printers can improve server scalability at the expense of allowing printer "
     "connections made by the Session Printers policy rule to accumulate in user profiles."},
    {"DiscNetPrinters", 0, "Disconnect Network Printers",
     "The Lumaro Server policies evaluated at logon and reconnect include a special policy rule "
     "called 'Session Printers' that you can use to add and delete network printer connections on "
     "behalf of the user based on various policy criteria. Normally these network printer "
     "connections are added during logons and reconnects and then deleted during logoff. These two "
     "flags help the administrator disable all printer connection additions and deletions "
     "temporarily without having to disable many different policies. Turning off the disconnection "
     "of network printers can improve server scalability at the expense of allowing printer "
     "connections made by the Session Printers policy rule to accumulate in user profiles."},
    {"retainedprinters", 0, "Disabled Retained Printers",
     "This setting disables all retained printers. Note: This only effects the creation of "
     "retained printers at the start of the client session. If a policy is in use that enables "
     "printer retention, changes to any printer settings continue to be saved.\r\n"
     "Requires Fix#174761"},
    {"CPRetention", 0, "Disable client printers properties retention",
     "Printer properties retention allows users to modify the settings of their autocreated "
     "printers from within the Printers folder on a Aurelo server and have the changes persist in "
     "future sessions. You can adjust this using the Printer properties retention policy in the "
     "management console to save the settings either only on the client device or only on the "
     "server.\r\n"
     "Enable this parameter to completely disable printer properties retention. Any settings "
     "changes that users make to their printers within the Printers folder on the server are "
     "discarded after logging off. This results in all autocreated printers being set with the "
     "default settings from their respective print driver. Because this process disables the "
     "exchange of information from the printer properties store on both the client and server, it "
     "also disables the use of autoretained and autorestored printers."},
    {"OverwriteTSDefault", 0, "Overwrite Terminal Server default values",
     "Windows manages several printing-related session settings it derives from group policies, "
     "user settings, or the connection type defaults. Unless overridden, these settings are used "
     "as intended defaults.\r\n"
     "To override Terminal Services defaults for any of the identified settings, this flag value "
     "must be set. If this flag is not set, the normal Terminal Services defaults apply.\r\n"
     "Note: Configured and enabled policy rules always override default settings. However, "
     "policies do not exist for many of these settings because they may not be of general interest "
     "or are intended only as a fail-safe to disable certain features for troubleshooting."},
    {"LoggingDisabled", 0, "Do not log autocreation failure",
     "By default, printer autocreation failures cause events to be logged in the event viewer’s "
     "application log. Even printers created by the Universal Printer Driver result in an event "
     "because this is one of the few ways administrators can determine precisely which printer "
     "models are in use by the client population. Because this can result in a flood of events in "
     "the event viewer, this flag provides the means to avoid generating event log entries for "
     "autocreation failures."},
    {"User_manage", 0, "User can manage all his printers",
     "When a user launches multiple sessions to one server, the user's default printer in the "
     "first session might be lost and cannot be reset. A new registry setting has been introduced "
     "in Ombrel Lumaro Server 4.0 Rollup pack 2. It adds users' names to the ACL of printers "
     "created in their sessions and allows users to access printers from any of those sessions on "
     "the same server.\r\n"
     "Requires Fix#129448"},
    {"admin_manage", 0, "Admin can manage all printers",
     "To prevent an administrative user from inadvertently printing to a printer in someone else’s "
     "Terminal Services session, the default security descriptor used to autocreate client "
     "printers no longer includes any rights for the administrator’s group. Only the user "
     "executing in the correct session context has rights to the autocreated printers for the "
     "session. Administrators can still grant themselves rights to any client printer by taking "
     "ownership of the print queue and adding the desired rights."},
    {"NoLPT", 0, "Don't map LPT ports",
     "For compatibility reasons, LPT ports discovered on the client are automatically mapped in "
     "client sessions. If the remapped LPT port is never used, there is no reason to map it. If "
     "this flag is set, LPT ports can still be mapped in a client session, but they are not "
     "automatically mapped. Instead, a net use command or the equivalent WNet* application "
     "programming interface (API) must be used to establish any mapping just as you would for a "
     "redirected COM port."},
    {"CreatePorts", 0, "Create ports for autocreated printers only",
     "By default, during logon or reconnect, the system creates ports for all discovered client "
     "printers and deletes them at logoff. The style of port created depends on the "
     "OMBPRN_CREATE_LEGACY_CLIENT_PRINTERS flags. If any of these flags are set, the default port "
     "creation and deletion is modified as follows:\r\n"
     "This setting creates ports only as needed for auto-created printers rather than for every "
     "discovered client printer"},
    {"NoPortDelete", 0, "Don't delete client printer ports",
     "This setting does not delete ports at logoff. This works around a Windows 2000 Server "
     "spooler issue that can trap the spooler service. However, enabling this setting can lead to "
     "substantial port and handle accumulations in the spooler service that eventually require the "
     "service to be restarted"},
    {"CreateAllPorts", 0, "Create standard and legacy ports",
     "By default, during logon or reconnect, the system creates ports for all discovered client "
     "printers and deletes them at logoff. The style of port created depends on the "
     "OMBPRN_CREATE_LEGACY_CLIENT_PRINTERS flags. If any of these flags are set, the default port "
     "creation and deletion is modified as follows:\r\n"
     "Instead of creating either legacy style or standard port names, both types of ports are "
     "created"},
    {"VqsvcDevMode", 0, "Capture Vqsvc's active printer DEVModes",
     "Important note: This is a debug option only. - Debugging VQSVC - Capturing active printer "
     "devmodes.\r\n"
     "The Devmodes can be stored in the registry as an aid to debugging printer issues. This "
     "information is only available while the session is active. You can examine or save this "
     "information before the session is logged off. Once the session is logged off this "
     "information is removed from the registry.\r\n"
     "\r\n"
     "This information will be accessible in the 'Active Printing Policies in Session' tab.\r\n"
     "The resultant location is: HKLM\\System\\CurrentControlset\\control\\print\\printer\\( "
     "Printer Name)\\OmbrelDebugData    CommonDevmode, DefaultDevmode, MergeDevmode, "
     "ValidatedDevmode"},
    {"PrnDbgUPD2Optimization", 0, "Disable UPD v2 optimizations (server)",
     "When printing using Version 2.0 of the Universal Printer Driver with custom in-house fonts, "
     "the print job renders an incomplete printout, especially when using large font sizes. This "
     "fix offers a workaround by allowing you to disable print optimization in the printer "
     "settings.\r\n"
     "Note: It is required to restart the Ombrel Print Service to reflect this change"},
    {"PrnDbgCompressionLevel", 0, "Disable print compression (server)",
     "Important note: This is a debug option only.\r\n"
     "By default, compression is enabled, however under certain circumstances it might be helpful "
     "to disable compression if you are troubleshooting problems where the page does not print as "
     "displayed.\r\n"
     "Note: It is required to restart the Ombrel Print Service to reflect this change"},
    {"FontHandling1", 0, "Enable Font Handling feature",
     "This is an enhancement to control which fonts will be output to an EMF spool file.\r\n"
     "When set to 'All', the spool file will be large as all fonts should be included ; when set "
     "to 'None', the spool file will be small as no fonts are included ; when set to 'Required', "
     "the spool file will have the correct size (only fonts needed will be included) ; when set to "
     "'Legacy', the spool file should have the same size as older Aurelo/LMS releases.\r\n"
     "Setting the Options requires Fix#206372"},
    {"PrnDbgRendering", 2, "Force the ZRP client to use old rendering mode",
     "To resolve certain rendering issues that result from undocumented EMF records used by the "
     "spooler, Ombrel changed the default print processing path in the 10.x clients to directly "
     "inject EMF spool file into the spooler on the client. Previous clients would actually "
     "reprocess the EMF records on the client.In client 10.x, it is possible to force the old path "
     "as specific drivers might need to work this way (fax drivers, PDF writers, etc).\r\n"
     "Note: Select the drivers that need the old rendering path."},
    {"PrnDbgDriverList", 2, "Force the ZRP client to use old rendering mode",
     "To resolve certain rendering issues that result from undocumented EMF records used by the "
     "spooler, Ombrel changed the default print processing path in the 10.x clients to directly "
     "inject EMF spool file into the spooler on the client. Previous clients would actually "
     "reprocess the EMF records on the client.In client 10.x, it is possible to force the old path "
     "as specific drivers might need to work this way (fax drivers, PDF writers, etc).\r\n"
     "Note: Select the drivers that need the old rendering path."},
    {"Win32FavorRetainedPrinterSettings", 2,
     "Use the local printers settings instead of the saved client properties",
     "Version 9.200 (and later) of the ZRP Client has the capability to add a setting to the "
     "client’s appsrv.ini file present in the <User Profile>\\Application Data\\ZRPClient folder. "
     "This setting allows users to set the client to always use the printer settings from the "
     "actual printer instead of the retained settings in the properties store. This also applies "
     "to the Ombrel Universal Printer.\r\n"
     "This setting also means that the client attempts to write settings which have been modified "
     "inside an ZRP session back to the printer on the client machine if the drivers have been "
     "determined to be equivalent.\r\n"
     "Note : This will be stored in the registry if an ZRP Client 10.0 or later is detected."},
    {"PrnDebugVqviewer", 2, "Vqviewer EMF logging level",
     "Important note: This is a debug option only.\r\n"
     "\r\n"
     "VQVIEWER.EXE in the 10.0 client and higher allows diagnostic flags to be set on viewer "
     "command line. When launched directly by the ZRP client, a registry key can be used to "
     "instruct QVZRP32.EXE which DebugFlag value to pass.\r\n"
     "0    Diagnostics disabled [default]\r\n"
     "1    Output basic tracing to the debug port\r\n"
     "2    Output basic tracing to both the logfile in the user's %temp% dir and also to the debug "
     "port\r\n"
     "3    Output extended tracing (including devmode dumps and EMF record info) to both the "
     "logfile and the debug port\r\n"
     "4     Same as 3 but also retains the temp spool file in the user’s %temp% directory\r\n"
     "5    Same as 4 but also creates and retains other component temp files holding the fonts, "
     "devmodes, and EMFs."},
    {"PrnDbgEMF", 2, "Vqviewer EMF logging level",
     "Important note: This is a debug option only. It will apply to the ZRP client installed on "
     "the server ONLY.\r\n"
     "VQVIEWER.EXE in the 10.0 client and higher allows diagnostic flags to be set on viewer "
     "command line. When launched directly by the ZRP client, a registry key can be used to "
     "instruct QVZRP32.EXE which DebugFlag value to pass.\r\n"
     "0    Diagnostics disabled [default]\r\n"
     "1    Output basic tracing to the debug port\r\n"
     "2    Output basic tracing to both the logfile in the user's %temp% dir and also to the debug "
     "port\r\n"
     "3    Output extended tracing (including devmode dumps and EMF record info) to both the "
     "logfile and the debug port\r\n"
     "4     Same as 3 but also retains the temp spool file in the user’s %temp% directory\r\n"
     "5    Same as 4 but also creates and retains other component temp files holding the fonts, "
     "devmodes, and EMFs."},
    {"PrnDebugVqviewerXPS", 2, "Vqviewer XPS logging level",
     "Important note: This is a debug option only available for XPS print jobs.\r\n"
     "\r\n"
     "VQVIEWER.EXE in the 11.0 client and higher allows diagnostic flags to be set on viewer "
     "command line. When launched directly by the client, a registry key can be used to instruct "
     "QVZRP32.EXE which DebugFlag value to pass.\r\n"
     "0    Diagnostics disabled [default]\r\n"
     "1    Output basic tracing to the debug port\r\n"
     "2    Output additional Tracing to the debug port\r\n"
     "3    Output enhanced Tracing to the debug port"},
    {"ClientRetention", 2, "Clean Printer Properties",
     "By default, retained properties are streamed back to the client where they are more "
     "naturally kept and not likely to disappear if roaming profiles are not used. Since not all "
     "clients support the new protocol extensions required to service extended properties requests "
     "form the 4.0 server, we still fall back retaining properties in the server-side user profile "
     "as needed. For example, It might be required to delete the Printer Properties Retention "
     "information on the ZRP client for troubleshooting purposes.\r\n"
     "Note : this will delete the information for the active user profile only."},
};

class DescriptionTextsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        window.resize(1250, 960);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A real move of the pointer over the control, scrolled into view first.
    void moveOver(QWidget* control) {
        for (QWidget* up = control->parentWidget(); up != nullptr; up = up->parentWidget()) {
            if (auto* area = qobject_cast<QScrollArea*>(up)) {
                area->ensureWidgetVisible(control);
                break;
            }
        }
        ASSERT_TRUE(control->isVisible()) << control->objectName().toStdString();
        QTest::mouseMove(window.windowHandle(), control->mapTo(&window, control->rect().center()));
    }
    void moveOverBackground() { QTest::mouseMove(window.windowHandle(), QPoint(2, 300)); }
};

TEST_F(DescriptionTextsTest, EveryDescribedControlShowsItsCaptionAndWholeText) {
    for (const Described& entry : kDescribed) {
        SCOPED_TRACE(entry.control);
        window.SSTab1->setCurrentIndex(entry.tab);
        moveOverBackground();
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(entry.control));
        ASSERT_NE(control, nullptr);
        moveOver(control);
        const bool settingsPanel = entry.tab == MainWindow::SettingsTabIndex;
        const QLabel* caption = settingsPanel ? test::control<QLabel>(tab0(), "settingseen")
                                              : test::control<QLabel>(*window.clientTab, "Label15");
        const QPlainTextEdit* text =
            settingsPanel ? test::control<QPlainTextEdit>(tab0(), "LabelTip")
                          : test::control<QPlainTextEdit>(*window.clientTab, "Text1");
        EXPECT_EQ(caption->text().toStdString(), entry.caption);
        EXPECT_EQ(widgets::fromWidgetText(text->toPlainText()), entry.text);
    }
    // No described control is missing from the list above.
    EXPECT_EQ(settingDescriptions().size(), std::size(kDescribed));
}

// The frames of the settings tab as the administrator reads them, each with the controls it
// holds, and the captions of the buttons among them.
TEST_F(DescriptionTextsTest, SettingsTabFramesHoldTheirControls) {
    const struct {
        const QGroupBox* frame;
        const char* caption;
        std::vector<const char*> controls;
    } frames[] = {
        {test::control<QGroupBox>(tab0(), "Frame5"),
         "  UPD and Universal Printer  ",
         {"UPDFallBackDrivers", "NoUPDFallback", "OUPD", "PreviewOnClient", "EnableXPS",
          "OUPDOptions", "Preview4OUP"}},
        {test::control<QGroupBox>(tab0(), "Frame1"),
         "Session Printers   ",
         {"AutoNetPrinters", "DiscNetPrinters", "retainedprinters"}},
        {test::control<QGroupBox>(tab0(), "Frame2"),
         "Miscellaneous ",
         {"CPRetention", "OverwriteTSDefault", "LoggingDisabled", "User_manage", "admin_manage"}},
        {test::control<QGroupBox>(tab0(), "Frame3"),
         "Client ports  ",
         {"NoLPT", "CreatePorts", "NoPortDelete", "CreateAllPorts"}},
        {test::control<QGroupBox>(tab0(), "Frame6"),
         "  Debug Options  ",
         {"VqsvcDevMode", "PrnDbgUPD2Optimization", "PrnDbgCompressionLevel"}},
        {test::control<QGroupBox>(tab0(), "Frame4"),
         "Registry actions",
         {"SaveRegistryBtn", "ReadRegistryBtn", "DelRegBtn"}},
        {test::control<QGroupBox>(tab0(), "Frame16"),
         " Font Handling  ",
         {"FontHandlingOptions", "FontHandling1"}},
        {test::control<QGroupBox>(tab0(), "Frame14"),
         " Files Information ",
         {"Label16", "Label21"}},
    };
    for (const auto& f : frames) {
        EXPECT_EQ(f.frame->title().toStdString(), f.caption);
        for (const char* control : f.controls) {
            EXPECT_NE(f.frame->findChild<QWidget*>(QString::fromLatin1(control)), nullptr)
                << control << " in" << f.caption;
        }
    }
    const std::pair<const char*, const char*> buttons[] = {
        {"UPDFallBackDrivers", "Select drivers to disable"},
        {"OUPDOptions", "OUP Options"},
        {"SaveRegistryBtn", "Save"},
        {"ReadRegistryBtn", "Re-read"},
        {"DelRegBtn", "Delete reg key"},
        {"FontHandlingOptions", "Options"},
        {"Flag2Decode", "Flag to decode"},
        {"SelectBtn", "Select all"},
        {"ClearBtn", "Clear all"},
    };
    for (const auto& [name, caption] : buttons) {
        const auto* button = tab0().findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text().toStdString(), caption);
    }
}

}  // namespace
}  // namespace ombrel::app
