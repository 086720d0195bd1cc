#pragma once
// What the command line asked for, read before any farm is opened: a bad option, an unknown
// flag name or a word that is not a 32-bit number ends the program here, with nothing touched.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/FlagWord.h"

namespace ombrel::printctl {

struct FlagChange {
    const settings::FlagBit* bit = nullptr;
    bool on = false;
};

// The changes of "set"; an empty optional leaves that setting as the server has it.
struct SetRequest {
    std::optional<std::uint32_t> word;
    std::vector<FlagChange> flags;
    std::optional<bool> compression;   // true: compression on (CompressionLevel deleted)
    std::optional<bool> debug;         // true: DebugFlags 1
    std::optional<std::string> fonts;  // a mode of IncludeFonts, "" to delete it
    // Only an import gives these: the values beside the word as its file holds them, by
    // name, "" for one to delete.
    std::map<std::string, std::string> exact;
    bool dryRun = false;
    std::string restart;  // "", "print-service" or "spooler"
};

struct Invocation {
    std::string farmDir;  // "" for $OMBREL_FARM, else the window's demo farm
    std::vector<std::string> servers;
    std::string serversFile;
    bool all = false;
    bool json = false;
    int parallel = 32;  // servers worked on at once
    std::string command;
    SetRequest set;
    std::string service;              // of restart: "print-service" or "spooler"
    std::string log = "Application";  // of events: "Application" or "System"
    bool errorsOnly = false;          // of events
    bool noFiles = false;             // of show: the settings alone
    std::string policyServer;         // of policy
    int sessionId = 0;                // of policy
    std::string file;                 // of export ("-" for standard output) and import
};

inline constexpr int kDone = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kBadInput = 2;

// The range of --parallel: beyond a few hundred, workers cost more than the network saves.
inline constexpr int kMaxParallel = 256;

struct ParsedInvocation {
    bool exitNow = false;  // help was asked for, or the command line is bad
    int exitCode = kDone;
    std::string output;
    std::string errors;
    Invocation invocation;
};

ParsedInvocation ParseInvocation(const std::vector<std::string>& arguments);

// A 32-bit number in decimal (a negative one as its signed reading) or "0x" hexadecimal.
std::optional<std::uint32_t> ParseWord(const std::string& text);

// The box whose name this is, in any capitals; nullptr for none.
const settings::FlagBit* FlagByName(const std::string& name);

}  // namespace ombrel::printctl
