#pragma once
// The flag word of a Pellion controller, kept in the XML exchange file that the controller's
// program PortZRPSetDefaults.exe exports and imports: reading it into OMBFlags, writing
// FlagsToSave into it, and the text pass that takes the empty namespace declaration off a
// PrinterManagement element the save had to create.

#include <string>

#include "core/AppContext.h"

namespace ombrel::controller {

// The exchange file: %temp%\PLconfig.xml of the machine that runs the tool.
std::string ExchangeFile(const core::AppContext& context);
// InstallLocation + "Pellion Controller\PortZRPSetDefaults.exe " + the switch + " " + the
// exchange file, without quotes.
std::string ProgramCommand(const core::AppContext& context, const std::string& option);

class XMLFileHandling {
  public:
    explicit XMLFileHandling(core::AppContext& context) : context_(context) {}

    // Reads DefaultSessionFlags of the first PrinterManagement element that has a decimal
    // one into OMBFlags. A file that cannot be loaded, an element missing or a text that is
    // not a decimal word leaves OMBFlags as it was; the last two after a message. False when
    // the file could not be loaded: also when it is no regular file, larger than 16 MiB, or
    // text no exchange file holds (a DTD, an entity reference, a character XML does not
    // allow, UTF-16), the reason traced before the load's message.
    bool ReadFlagsFromXml();

    // Writes flags into the exchange file: into the DefaultSessionFlags elements of the
    // first PrinterManagement that has one, else into a new PrinterManagement appended to
    // the first Session. The layout of the file is kept as it was. Answers "" when the file
    // was written, else why not (a file that cannot be loaded was also shown in a box).
    std::string WriteFlagsToXml(double flags);

    // The text pass over the lines of the exchange file: the first line holding
    // "<PrinterManagement xmlns" gets the element without its declaration, later ones are
    // dropped. Answers "" when the file was rewritten, else why not.
    std::string RemoveEmptyNamespace(double flags);

    // Set once the file holds DefaultSessionFlags written by this run; never cleared.
    bool XmlFlagFound = false;

  private:
    void loadFailed(platform::DWORD error);

    core::AppContext& context_;
};

}  // namespace ombrel::controller
