// Every caption of every tab as the window shows it before any tab is entered, written out
// here as the administrator reads it, blanks included: a changed character in a caption
// shows as a failure.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "MainWindowFixture.h"

namespace ombrel::app {
namespace {

struct Caption {
    int tab;
    const char* control;
    const char* text;  // a list's entries are joined by ","
};

const Caption kCaptions[] = {
    {0, "Frame5", "  UPD and Universal Printer  "},
    {0, "UPDFallBackDrivers", "Select drivers to disable"},
    {0, "NoUPDFallback", "No UPD fallback for disallowed drivers"},
    {0, "OUPD", "Ombrel Universal Printer"},
    {0, "PreviewOnClient", "Force Preview on Client (all UPD printers)"},
    {0, "EnableXPS", "Enable Ombrel XPS Universal Printer driver"},
    {0, "OUPDOptions", "OUP Options"},
    {0, "Preview4OUP", "Force Preview on Client (OUP only)"},
    {0, "Frame1", "Session Printers   "},
    {0, "AutoNetPrinters", "AutoConnect Network Printers"},
    {0, "DiscNetPrinters", "Disconnect Network Printers"},
    {0, "retainedprinters", "Disabled Retained Printers"},
    {0, "Frame2", "Miscellaneous "},
    {0, "CPRetention", "Disable client printers properties retention"},
    {0, "OverwriteTSDefault", "Overwrite Terminal Server default values"},
    {0, "LoggingDisabled", "Do not log autocreation failure"},
    {0, "User_manage", "User can manage all his printers"},
    {0, "admin_manage", "Admin can manage all printers"},
    {0, "Frame3", "Client ports  "},
    {0, "NoLPT", "Don't map LPT ports"},
    {0, "CreatePorts", "Create ports for autocreated printers only"},
    {0, "NoPortDelete", "Don't delete client printer ports"},
    {0, "CreateAllPorts", "Create standard and legacy ports"},
    {0, "Frame6", "  Debug Options  "},
    {0, "VqsvcDevMode", "Capture Vqsvc's active printer DEVModes"},
    {0, "PrnDbgUPD2Optimization", "Disable UPD v2 optimizations (server)"},
    {0, "PrnDbgCompressionLevel", "Disable print compression (server)"},
    {0, "Frame4", "Registry actions"},
    {0, "SaveRegistryBtn", "Save"},
    {0, "ReadRegistryBtn", "Re-read"},
    {0, "DelRegBtn", "Delete reg key"},
    {0, "Frame16", " Font Handling  "},
    {0, "FontHandlingOptions", "Options"},
    {0, "FontHandling1", "Enable Font Handling feature"},
    {0, "Frame14", " Files Information "},
    {0, "Label16", "vqsvc.exe"},
    {0, "Label17", "vqprov.dll"},
    {0, "Label18", "vqmon.dll"},
    {0, "Label19", "ombprn.dll"},
    {0, "Label20", "vqupdrv.dll"},
    {0, "Label21", "vqupdui.dll"},
    {0, "Label2", "Value of DefaultPrnFlags registry key with the currently selected flags :"},
    {0, "Label3", ""},
    {0, "Flag2Decode", "Flag to decode"},
    {0, "SelectBtn", "Select all"},
    {0, "ClearBtn", "Clear all"},
    {0, "Label4", "Information about the setting"},
    {0, "settingseen", "Drag the mouse over a setting to display its description"},

    {1, "Label5", "Select a session in the list"},
    {1, "RefreshSession", "Enumerate Sessions"},
    {1, "Frame8", " Client Printers  "},
    {1, "DisableClientPrinterMapping", "Disable Client Printer Mapping"},
    {1, "DisableClientCOMPortMapping", "Disable COM port mapping"},
    {1, "DisableClientLPTPortMapping", "Disable LPT port mapping"},
    {1, "ConnectCPAtLogon", "Connect Client Printer at Logon"},
    {1, "DefaultToMainCPPolicy", "Set session default printer to client main printer"},
    {1, "LegacyClientPrinters", "Create Legacy Client Printers"},
    {1, "PrintFromServer", "Connect the printer to the print server if possible (direct)"},
    {1, "Label6", "Type of client printers autocreated :"},
    {1, "Label7", "Printer Properties Retention : "},
    {1, "Frame9", " Printer Driver rules  "},
    {1, "PrintDriverAutoInstall", "Disable Automatic Printer Driver Installation"},
    {1, "Label8", "Type of print driver used :"},
    {1, "Frame10", " Bandwith Limitations  "},
    {1, "Label9", "Overall ZRP Session  :"},
    {1, "Label11", "Printing bandwidth :"},
    {1, "Label10", "LPT Ports bandwith :"},
    {1, "Label12", "COM Ports bandwith :"},
    {1, "Frame11", " Sessions Printers  "},
    {1, "Label13", "Number of assigned printers"},

    {2, "Frame13", "  Debugging options for vqviewer.exe  "},
    {2, "PrnDbgXPS", "0x1,0x2,0x3"},
    {2, "PrnDebugVqviewerXPS", "Vqviewer XPS logging level"},
    {2, "PrnDbgEMF", "0x1,0x2,0x3,0x4,0x5"},
    {2, "PrnDebugVqviewer", "Vqviewer EMF logging level"},
    {2, "Frame12", "  ZRP Client Settings "},
    {2, "FontHandling", "Include all fonts in the Spool file"},
    {2, "PrnDbgRendering", "Force the ZRP client to use old rendering mode"},
    {2, "Win32FavorRetainedPrinterSettings",
     "Use the local printers settings instead of the saved client properties"},
    {2, "Frame7", "  Actions for ZRP Client Settings  "},
    {2, "ClientRetention", "Clean Printer Properties"},
    {2, "Command2", "Re-read Settings"},
    {2, "Command1", "Save Settings"},
    {2, "ClearAll1", "Clear all"},
    {2, "SelectAll1", "Select all"},
    {2, "Label14", "Information about the setting"},
    {2, "Label15", "Drag the mouse over a setting to display its description"},

    {3, "Label29",
     "To reinstall the UPD v3 driver on the currently selected servers, browse to the folder "
     "where the source of the Aurelo version are located and click the \"Re-Install\" button."},
    {3, "Frame17", "  CAUTION  "},
    {3, "Label28", "Use this feature at your own risk !"},
    {3, "Label27",
     "This provides a way to re-install the Ombrel Universal Driver v3 on Windows 2000 and "
     "Windows 2003 servers."},
    {3, "ReInstall", "Re-Install UPD driver"},

    {4, "Label31", ""},
    {4, "Label32", "Suggested Ombrel Knowledge Base articles : "},
    {4, "Frame18", "  Options  "},
    {4, "EventLogFilter", "Errors Only"},
    {4, "EventType(1)", " System Log"},
    {4, "EventType(0)", " Application Log"},
    {4, "Display", "Display"},

    {5, "Frame15", "  DISCLAIMER  "},
    {5, "lblVersion", "v."},
    {5, "lblTitle", "Ombrel Printing Tool"},
};

std::string captionOf(const QWidget* control) {
    QString text;
    if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
        text = frame->title();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        text = button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        text = label->text();
    } else if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) {
            entries << list->itemText(i);
        }
        text = entries.join(u',');
    }
    return text.toStdString();
}

using CaptionsTest = MainWindowTest;

TEST_F(CaptionsTest, EveryTabAndEveryControlCarriesItsCaption) {
    const char* const tabs[] = {"  Advanced Printing Features  ",
                                "  Active Printing Policies in Session  ",
                                "ZRP Client Settings",
                                "  Re-Install UPD Driver",
                                "  Printing Event logs",
                                "About"};
    ASSERT_EQ(window.SSTab1->count(), 6);
    for (int tab = 0; tab < 6; ++tab) {
        EXPECT_EQ(window.SSTab1->tabText(tab).toStdString(), tabs[tab]) << "tab " << tab;
    }
    for (const Caption& caption : kCaptions) {
        SCOPED_TRACE(caption.control);
        const auto* control =
            window.SSTab1->widget(caption.tab)->findChild<QWidget*>(caption.control);
        ASSERT_NE(control, nullptr) << "not on tab " << caption.tab;
        EXPECT_EQ(captionOf(control), caption.text);
    }
}

TEST_F(CaptionsTest, TheTooltipsSayWhatTheControlsDo) {
    const std::pair<const char*, const char*> tooltips[] = {
        {"OUPDOptions",
         "Click here to set advanced options for the Ombrel Universal Printer. This is only "
         "available on LMS 4.0 Rollup pack 4 (or later) and Ombrel Lumaro Server 4.5 Rollup Pack "
         "1 (or later)"},
        {"ClientRetention", "Click here to delete the retained client printer settings."},
        {"Label33", "Click on the item to be redirected to the Ombrel Knowledge Base"},
        {"Label34", "Click on the item to be redirected to the Ombrel Knowledge Base"},
    };
    for (const auto& [name, tooltip] : tooltips) {
        SCOPED_TRACE(name);
        const auto* control = window.SSTab1->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->toolTip().toStdString(), tooltip);
    }
}

}  // namespace
}  // namespace ombrel::app
