#include "app/SettingDescriptions.h"

namespace ombrel::app {

namespace {

// The texts, each joined from its fixed pieces; two controls share the text of another.
constexpr const char* kOUPD =
    "The latest 32-bit Windows clients are capable of receiving and displaying print jobs in a "
    "viewer application on the client. For such a client, it is possible to create a single, "
    "generic universal printer that is not bound to any of the underlying client printers. This "
    "printer is generic in the sense that it does not know about or manage any device-specific "
    "settings. As such, it is also more efficient to use because there is no need for capabilities "
    "or document settings exchanges with the client when printing. Because creating an additional "
    "printer within a session incurs overhead, by default, the creation of the generic Universal "
    "Printer Driver printer is turned off."
    "\r\n"
    "Setting the Options requires Fix#155984";

constexpr const char* kNoUPDFallback =
    "When a driver name presented from the client fails the compatibility test (for example, the "
    "driver name is present in an exclude list or not present in an allow-only list) assuming "
    "Universal Printer Driver fallback is enabled, the normal behavior is to create the printer "
    "using the Universal Printer Driver. If set, this flag changes the default and prevents "
    "Universal Printer Driver creation for printers whose drivers fail the compatibility test.";

constexpr const char* kPreviewOnClient =
    "Note: Prior Fix#155984, the Preview on client option was always enabled for the Ombrel "
    "Universal printer and could not be changed. After the latest enhancements made to the Ombrel "
    "Universal printer, the Print Preview is disabled by default and print jobs are sent directly "
    "to the local default printer."
    "\r\n"
    "This setting allows you to alter the default behavior and enable the Print Preview for ALL "
    "autocreated printers that use UPD, including the Ombrel Universal Printer by default."
    "\r\n"
    "User changes using the Printer Fax folder are retained, so all users can use their preferred "
    "options.";

constexpr const char* kEnableXPS =
    "To enable the XPS Universal Printer driver, it is required to change a registry setting on "
    "the server. By default, the Ombrel XPS Universal Printer driver is not activated."
    "\r\n"
    "To benefit from this enhancement, Aurelo Plugin v.11.0 or higher and .Net Framework 3.0 are "
    "required on the client machine.";

constexpr const char* kPreview4OUP =
    "Note: Prior Fix#155984, the Preview on client option was always enabled for the Ombrel "
    "Universal printer and could not be changed. After the latest enhancements made to the Ombrel "
    "Universal printer, the Print Preview is disabled by default and print jobs are sent directly "
    "to the local default printer."
    "\r\n"
    "This setting allows you to alter the default behavior and enable the Print Preview ONLY for "
    "the Ombrel Universal Printer by default. User changes using the Printer Fax folder are "
    "retained, so all users can use their preferred options. Other UPD printers are NOT affected"
    "\r\n"
    "Requires Fix#175118";

constexpr const char* kAutoNetPrinters =
    "The Lumaro Server policies evaluated at logon and reconnect include a special policy rule "
    "called 'Session Printers' that you can use to add and delete network printer connections on "
    "behalf of the user based on various policy criteria. Normally these network printer "
    "connections are added during logons and reconnects and then deleted during logoff. These two "
    "flags help the administrator disable all printer connection additions and deletions "
    "temporarily without having to disable many different policies. Turning off the disconnection "
    "of network printers can improve server scalability at the expense of allowing printer "
    "connections made by the Session Printers policy rule to accumulate in user profiles.";

constexpr const char* kRetainedprinters =
    "This setting disables all retained printers. Note: This only effects the creation of retained "
    "printers at the start of the client session. If a policy is in use that enables printer "
    "retention, changes to any printer settings continue to be saved."
    "\r\n"
    "Requires Fix#174761";

constexpr const char* kCPRetention =
    "Printer properties retention allows users to modify the settings of their autocreated "
    "printers from within the Printers folder on a Aurelo server and have the changes persist in "
    "future sessions. You can adjust this using the Printer properties retention policy in the "
    "management console to save the settings either only on the client device or only on the "
    "server."
    "\r\n"
    "Enable this parameter to completely disable printer properties retention. Any settings "
    "changes that users make to their printers within the Printers folder on the server are "
    "discarded after logging off. This results in all autocreated printers being set with the "
    "default settings from their respective print driver. Because this process disables the "
    "exchange of information from the printer properties store on both the client and server, it "
    "also disables the use of autoretained and autorestored printers.";

constexpr const char* kOverwriteTSDefault =
    "Windows manages several printing-related session settings it derives from group policies, "
    "user settings, or the connection type defaults. Unless overridden, these settings are used as "
    "intended defaults."
    "\r\n"
    "To override Terminal Services defaults for any of the identified settings, this flag value "
    "must be set. If this flag is not set, the normal Terminal Services defaults apply."
    "\r\n"
    "Note: Configured and enabled policy rules always override default settings. However, policies "
    "do not exist for many of these settings because they may not be of general interest or are "
    "intended only as a fail-safe to disable certain features for troubleshooting.";

constexpr const char* kLoggingDisabled =
    "By default, printer autocreation failures cause events to be logged in the event viewer’s "
    "application log. Even printers created by the Universal Printer Driver result in an event "
    "because this is one of the few ways administrators can determine precisely which printer "
    "models are in use by the client population. Because this can result in a flood of events in "
    "the event viewer, this flag provides the means to avoid generating event log entries for "
    "autocreation failures.";

constexpr const char* kUser_manage =
    "When a user launches multiple sessions to one server, the user's default printer in the first "
    "session might be lost and cannot be reset. A new registry setting has been introduced in "
    "Ombrel Lumaro Server 4.0 Rollup pack 2. It adds users' names to the ACL of printers created "
    "in their sessions and allows users to access printers from any of those sessions on the same "
    "server."
    "\r\n"
    "Requires Fix#129448";

constexpr const char* kAdmin_manage =
    "To prevent an administrative user from inadvertently printing to a printer in someone else’s "
    "Terminal Services session, the default security descriptor used to autocreate client printers "
    "no longer includes any rights for the administrator’s group. Only the user executing in the "
    "correct session context has rights to the autocreated printers for the session. "
    "Administrators can still grant themselves rights to any client printer by taking ownership of "
    "the print queue and adding the desired rights.";

constexpr const char* kNoLPT =
    "For compatibility reasons, LPT ports discovered on the client are automatically mapped in "
    "client sessions. If the remapped LPT port is never used, there is no reason to map it. If "
    "this flag is set, LPT ports can still be mapped in a client session, but they are not "
    "automatically mapped. Instead, a net use command or the equivalent WNet* application "
    "programming interface (API) must be used to establish any mapping just as you would for a "
    "redirected COM port.";

constexpr const char* kCreatePorts =
    "By default, during logon or reconnect, the system creates ports for all discovered client "
    "printers and deletes them at logoff. The style of port created depends on the "
    "OMBPRN_CREATE_LEGACY_CLIENT_PRINTERS flags. If any of these flags are set, the default port "
    "creation and deletion is modified as follows:"
    "\r\n"
    "This setting creates ports only as needed for auto-created printers rather than for every "
    "discovered client printer";

constexpr const char* kNoPortDelete =
    "This setting does not delete ports at logoff. This works around a Windows 2000 Server spooler "
    "issue that can trap the spooler service. However, enabling this setting can lead to "
    "substantial port and handle accumulations in the spooler service that eventually require the "
    "service to be restarted";

constexpr const char* kCreateAllPorts =
    "By default, during logon or reconnect, the system creates ports for all discovered client "
    "printers and deletes them at logoff. The style of port created depends on the "
    "OMBPRN_CREATE_LEGACY_CLIENT_PRINTERS flags. If any of these flags are set, the default port "
    "creation and deletion is modified as follows:"
    "\r\n"
    "Instead of creating either legacy style or standard port names, both types of ports are "
    "created";

constexpr const char* kVqsvcDevMode =
    "Important note: This is a debug option only. - Debugging VQSVC - Capturing active printer "
    "devmodes."
    "\r\n"
    "The Devmodes can be stored in the registry as an aid to debugging printer issues. This "
    "information is only available while the session is active. You can examine or save this "
    "information before the session is logged off. Once the session is logged off this information "
    "is removed from the registry."
    "\r\n"
    "\r\n"
    "This information will be accessible in the 'Active Printing Policies in Session' tab."
    "\r\n"
    "The resultant location is: HKLM\\System\\CurrentControlset\\control\\print\\printer\\( "
    "Printer Name)\\OmbrelDebugData    CommonDevmode, DefaultDevmode, MergeDevmode, "
    "ValidatedDevmode";

constexpr const char* kPrnDbgUPD2Optimization =
    "When printing using Version 2.0 of the Universal Printer Driver with custom in-house fonts, "
    "the print job renders an incomplete printout, especially when using large font sizes. This "
    "fix offers a workaround by allowing you to disable print optimization in the printer settings."
    "\r\n"
    "Note: It is required to restart the Ombrel Print Service to reflect this change";

constexpr const char* kPrnDbgCompressionLevel =
    "Important note: This is a debug option only."
    "\r\n"
    "By default, compression is enabled, however under certain circumstances it might be helpful "
    "to disable compression if you are troubleshooting problems where the page does not print as "
    "displayed."
    "\r\n"
    "Note: It is required to restart the Ombrel Print Service to reflect this change";

constexpr const char* kFontHandling1 =
    "This is an enhancement to control which fonts will be output to an EMF spool file."
    "\r\n"
    "When set to 'All', the spool file will be large as all fonts should be included ; when set to "
    "'None', the spool file will be small as no fonts are included ; when set to 'Required', the "
    "spool file will have the correct size (only fonts needed will be included) ; when set to "
    "'Legacy', the spool file should have the same size as older Aurelo/LMS releases."
    "\r\n"
    "Setting the Options requires Fix#206372";

constexpr const char* kPrnDbgRendering =
    "To resolve certain rendering issues that result from undocumented EMF records used by the "
    "spooler, Ombrel changed the default print processing path in the 10.x clients to directly "
    "inject EMF spool file into the spooler on the client. Previous clients would actually "
    "reprocess the EMF records on the client.In client 10.x, it is possible to force the old path "
    "as specific drivers might need to work this way (fax drivers, PDF writers, etc)."
    "\r\n"
    "Note: Select the drivers that need the old rendering path.";

constexpr const char* kWin32FavorRetainedPrinterSettings =
    "Version 9.200 (and later) of the ZRP Client has the capability to add a setting to the "
    "client’s appsrv.ini file present in the <User Profile>\\Application Data\\ZRPClient folder. "
    "This setting allows users to set the client to always use the printer settings from the "
    "actual printer instead of the retained settings in the properties store. This also applies to "
    "the Ombrel Universal Printer."
    "\r\n"
    "This setting also means that the client attempts to write settings which have been modified "
    "inside an ZRP session back to the printer on the client machine if the drivers have been "
    "determined to be equivalent."
    "\r\n"
    "Note : This will be stored in the registry if an ZRP Client 10.0 or later is detected.";

constexpr const char* kPrnDebugVqviewer =
    "Important note: This is a debug option only."
    "\r\n"
    "\r\n"
    "VQVIEWER.EXE in the 10.0 client and higher allows diagnostic flags to be set on viewer "
    "command line. When launched directly by the ZRP client, a registry key can be used to "
    "instruct QVZRP32.EXE which DebugFlag value to pass."
    "\r\n"
    "0    Diagnostics disabled [default]"
    "\r\n"
    "1    Output basic tracing to the debug port"
    "\r\n"
    "2    Output basic tracing to both the logfile in the user's %temp% dir and also to the debug "
    "port"
    "\r\n"
    "3    Output extended tracing (including devmode dumps and EMF record info) to both the "
    "logfile and the debug port"
    "\r\n"
    "4     Same as 3 but also retains the temp spool file in the user’s %temp% directory"
    "\r\n"
    "5    Same as 4 but also creates and retains other component temp files holding the fonts, "
    "devmodes, and EMFs.";

constexpr const char* kPrnDbgEMF =
    "Important note: This is a debug option only. It will apply to the ZRP client installed on the "
    "server ONLY."
    "\r\n"
    "VQVIEWER.EXE in the 10.0 client and higher allows diagnostic flags to be set on viewer "
    "command line. When launched directly by the ZRP client, a registry key can be used to "
    "instruct QVZRP32.EXE which DebugFlag value to pass."
    "\r\n"
    "0    Diagnostics disabled [default]"
    "\r\n"
    "1    Output basic tracing to the debug port"
    "\r\n"
    "2    Output basic tracing to both the logfile in the user's %temp% dir and also to the debug "
    "port"
    "\r\n"
    "3    Output extended tracing (including devmode dumps and EMF record info) to both the "
    "logfile and the debug port"
    "\r\n"
    "4     Same as 3 but also retains the temp spool file in the user’s %temp% directory"
    "\r\n"
    "5    Same as 4 but also creates and retains other component temp files holding the fonts, "
    "devmodes, and EMFs.";

constexpr const char* kPrnDebugVqviewerXPS =
    "Important note: This is a debug option only available for XPS print jobs."
    "\r\n"
    "\r\n"
    "VQVIEWER.EXE in the 11.0 client and higher allows diagnostic flags to be set on viewer "
    "command line. When launched directly by the client, a registry key can be used to instruct "
    "QVZRP32.EXE which DebugFlag value to pass."
    "\r\n"
    "0    Diagnostics disabled [default]"
    "\r\n"
    "1    Output basic tracing to the debug port"
    "\r\n"
    "2    Output additional Tracing to the debug port"
    "\r\n"
    "3    Output enhanced Tracing to the debug port";

constexpr const char* kClientRetention =
    "By default, retained properties are streamed back to the client where they are more naturally "
    "kept and not likely to disappear if roaming profiles are not used. Since not all clients "
    "support the new protocol extensions required to service extended properties requests form the "
    "4.0 server, we still fall back retaining properties in the server-side user profile as "
    "needed. For example, It might be required to delete the Printer Properties Retention "
    "information on the ZRP client for troubleshooting purposes."
    "\r\n"
    "Note : this will delete the information for the active user profile only.";

}  // namespace

const std::vector<SettingDescription>& settingDescriptions() {
    static const std::vector<SettingDescription> kDescriptions{
        {"OUPD", DescriptionPanel::Settings, "OUPD", kOUPD},
        {"NoUPDFallback", DescriptionPanel::Settings, "NoUPDFallback", kNoUPDFallback},
        {"PreviewOnClient", DescriptionPanel::Settings, "PreviewOnClient", kPreviewOnClient},
        {"EnableXPS", DescriptionPanel::Settings, "EnableXPS", kEnableXPS},
        {"Preview4OUP", DescriptionPanel::Settings, "Preview4OUP", kPreview4OUP},
        {"AutoNetPrinters", DescriptionPanel::Settings, "AutoNetPrinters", kAutoNetPrinters},
        {"DiscNetPrinters", DescriptionPanel::Settings, "DiscNetPrinters", kAutoNetPrinters},
        {"retainedprinters", DescriptionPanel::Settings, "retainedprinters", kRetainedprinters},
        {"CPRetention", DescriptionPanel::Settings, "CPRetention", kCPRetention},
        {"OverwriteTSDefault", DescriptionPanel::Settings, "OverwriteTSDefault",
         kOverwriteTSDefault},
        {"LoggingDisabled", DescriptionPanel::Settings, "LoggingDisabled", kLoggingDisabled},
        {"User_manage", DescriptionPanel::Settings, "User_manage", kUser_manage},
        {"admin_manage", DescriptionPanel::Settings, "admin_manage", kAdmin_manage},
        {"NoLPT", DescriptionPanel::Settings, "NoLPT", kNoLPT},
        {"CreatePorts", DescriptionPanel::Settings, "CreatePorts", kCreatePorts},
        {"NoPortDelete", DescriptionPanel::Settings, "NoPortDelete", kNoPortDelete},
        {"CreateAllPorts", DescriptionPanel::Settings, "CreateAllPorts", kCreateAllPorts},
        {"VqsvcDevMode", DescriptionPanel::Settings, "VqsvcDevMode", kVqsvcDevMode},
        {"PrnDbgUPD2Optimization", DescriptionPanel::Settings, "PrnDbgUPD2Optimization",
         kPrnDbgUPD2Optimization},
        {"PrnDbgCompressionLevel", DescriptionPanel::Settings, "PrnDbgCompressionLevel",
         kPrnDbgCompressionLevel},
        {"FontHandling1", DescriptionPanel::Settings, "FontHandling1", kFontHandling1},
        {"PrnDbgRendering", DescriptionPanel::Client, "PrnDbgRendering", kPrnDbgRendering},
        {"PrnDbgDriverList", DescriptionPanel::Client, "PrnDbgRendering", kPrnDbgRendering},
        {"Win32FavorRetainedPrinterSettings", DescriptionPanel::Client,
         "Win32FavorRetainedPrinterSettings", kWin32FavorRetainedPrinterSettings},
        {"PrnDebugVqviewer", DescriptionPanel::Client, "PrnDebugVqviewer", kPrnDebugVqviewer},
        {"PrnDbgEMF", DescriptionPanel::Client, "PrnDebugVqviewer", kPrnDbgEMF},
        {"PrnDebugVqviewerXPS", DescriptionPanel::Client, "PrnDebugVqviewerXPS",
         kPrnDebugVqviewerXPS},
        {"ClientRetention", DescriptionPanel::Client, "ClientRetention", kClientRetention},
    };
    return kDescriptions;
}

const SettingDescription* findSettingDescription(std::string_view control) {
    for (const SettingDescription& entry : settingDescriptions()) {
        if (control == entry.control) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace ombrel::app
