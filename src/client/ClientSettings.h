#pragma once
// The procedures behind tab 2: reading the local ZRP client's printing settings into the tab
// (GetZRPClientSettings), filling its driver list (GetPrintDrivers), and the client branch of
// the save (SaveZRPClientSettings). The settings are registry values of the client and one
// line of the user's appsrv.ini.

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/AppContext.h"

namespace ombrel::client {

class ClientTab;
struct ClientValuesToSave;

inline constexpr std::string_view kClientKey = "Software\\Ombrel\\ZRP Client";
inline constexpr std::string_view kClientConfigurationKey =
    "Software\\Ombrel\\ZRP Client\\Engine\\Configuration";
inline constexpr std::string_view kPrintDebugFlagsKey =
    "Software\\Ombrel\\ZRP Client\\PrintDebugFlags";
// Clients from this version on know the old rendering mode and the EMF logging level, and
// from the second one on the XPS logging level too.
inline constexpr std::int32_t kRenderingVersion = 10000;
inline constexpr std::int32_t kXpsVersion = 11000;

// Lives as long as the tab it works on (its parent).
class ClientSettings : public QObject {
  public:
    // clearAllSettings is the window's "Clear all", run before every read.
    ClientSettings(core::AppContext& context, ClientTab& tab,
                   std::function<void()> clearAllSettings);

    void GetZRPClientSettings();
    // Fills the tab's driver list with the printer drivers of computer ("" for the local
    // machine).
    void GetPrintDrivers(std::string_view computer);
    void SaveZRPClientSettings();

    // The settings as last read: "Version Maximum" (0 when absent), the rendering list ("" when
    // absent) and the XPS level's text form ("" when absent). The EMF level is the state's
    // EmfDebugLevel, which DisplayFlags shows too.
    std::int32_t ClientVersion = 0;
    std::string ReprocessDriverList;
    std::string XpsDebugLevel;

  private:
    void ReadDriverSelection();
    void ReadViewerLevels();
    void ReadConfigurationFile();
    void SaveConfigurationFile(bool favorRetainedPrinterSettings);
    void SaveDriverSelection(const std::string& computer, const ClientValuesToSave& values);
    // A configuration file left as it was, told to the user: a save that did not reach it must
    // not read as saved.
    void ReportFileLeft(const std::string& path, const std::string& what);

    // The rendering list was there but too long to be read, so the tab shows none: until the
    // user changes the rendering box or the driver selection, a save leaves it as it is
    // instead of deleting it.
    bool driverListKept_ = false;

    core::AppContext& context_;
    ClientTab& tab_;
    std::function<void()> clearAllSettings_;
};

}  // namespace ombrel::client
