#include "settings/FlagWord.h"

#include <cmath>

#include "platform/AsciiText.h"

namespace ombrel::settings {

namespace {

constexpr const char* kUpd = "  UPD and Universal Printer  ";
constexpr const char* kSession = "Session Printers   ";
constexpr const char* kMisc = "Miscellaneous ";
constexpr const char* kPorts = "Client ports  ";

// The OUPD decode line carries the masked word before its label and nothing after it, like
// every other line; the bit itself is plain from the label.
const std::array<FlagBit, kFlagBitCount> kBits{{
    {"OUPD", 0x20, "Ombrel Universal Printer", kUpd, "GenerateDefaultPrnFlags  OUPD ", false,
     " OUPD ?", DecodeTail::None},
    {"NoLPT", 0x40, "Don't map LPT ports", kPorts, "GenerateDefaultPrnFlags NoLPT ", false,
     " no LPT ?", DecodeTail::Decimal},
    {"OverwriteTSDefault", 0x80, "Overwrite Terminal Server default values", kMisc,
     "GenerateDefaultPrnFlags OverwriteTSDefault ", false, " OverwriteTSDefault ?",
     DecodeTail::Decimal},
    {"CPRetention", 0x3000, "Disable client printers properties retention", kMisc,
     "GenerateDefaultPrnFlags Disable print properties retention ", false,
     " disable properties retention ? ", DecodeTail::Decimal},
    {"admin_manage", 0x4000, "Admin can manage all printers", kMisc,
     "GenerateDefaultPrnFlags admin_manage ", false, " admin_manage ? ", DecodeTail::Decimal},
    {"PreviewOnClient", 0x8000, "Force Preview on Client (all UPD printers)", kUpd,
     "GenerateDefaultPrnFlags PreviewOnClient ", true, " PreviewOnClient? ", DecodeTail::Decimal},
    {"Preview4OUP", 0x10000, "Force Preview on Client (OUP only)", kUpd, nullptr, false,
     " Preview4OUP? ", DecodeTail::Hex},
    {"AutoNetPrinters", 0x400000, "AutoConnect Network Printers", kSession,
     "GenerateDefaultPrnFlags AutoNetPrinters ", false, " AutoNetPrinters? ", DecodeTail::Decimal},
    {"DiscNetPrinters", 0x800000, "Disconnect Network Printers", kSession,
     "GenerateDefaultPrnFlags DiscNetPrinters ", true, " discnetprinter? ", DecodeTail::Decimal},
    {"CreateAllPorts", 0x1000000, "Create standard and legacy ports", kPorts,
     "GenerateDefaultPrnFlags CreateAllPorts ", false, " createall ports ? ", DecodeTail::Decimal},
    {"CreatePorts", 0x2000000, "Create ports for autocreated printers only", kPorts,
     "GenerateDefaultPrnFlags CreatePorts ", false, " createports? ", DecodeTail::Decimal},
    {"NoPortDelete", 0x4000000, "Don't delete client printer ports", kPorts,
     "GenerateDefaultPrnFlags NoPortDelete ", false, " noportdelete? ", DecodeTail::Decimal},
    {"LoggingDisabled", 0x8000000, "Do not log autocreation failure", kMisc,
     "GenerateDefaultPrnFlags LoggingDisabled ", true, " no logging ? ", DecodeTail::Decimal},
    {"NoUPDFallback", 0x10000000, "No UPD fallback for disallowed drivers", kUpd,
     "GenerateDefaultPrnFlags NoUPDFallback ", false, " NoUPDFallback? ", DecodeTail::Decimal},
    {"User_manage", 0x20000000, "User can manage all his printers", kMisc,
     "GenerateDefaultPrnFlags User_manage ", false, " User_manage ? ", DecodeTail::Decimal},
    {"retainedprinters", 0x80000000, "Disabled Retained Printers", kSession, nullptr, false,
     " DisableRetainedPrinters? ", DecodeTail::Hex},
}};

const std::array<const char*, kFlagBitCount> kEncodeOrder{"OUPD",
                                                          "admin_manage",
                                                          "User_manage",
                                                          "NoUPDFallback",
                                                          "PreviewOnClient",
                                                          "AutoNetPrinters",
                                                          "DiscNetPrinters",
                                                          "CreateAllPorts",
                                                          "CreatePorts",
                                                          "NoPortDelete",
                                                          "NoLPT",
                                                          "OverwriteTSDefault",
                                                          "CPRetention",
                                                          "LoggingDisabled",
                                                          "retainedprinters",
                                                          "Preview4OUP"};

const std::array<const char*, kFlagBitCount> kDecodeOrder{
    "OUPD",        "admin_manage",       "CPRetention",     "User_manage",     "LoggingDisabled",
    "NoLPT",       "OverwriteTSDefault", "AutoNetPrinters", "DiscNetPrinters", "CreateAllPorts",
    "CreatePorts", "NoPortDelete",       "NoUPDFallback",   "PreviewOnClient", "retainedprinters",
    "Preview4OUP"};

constexpr double kTwoTo31 = 2147483648.0;

std::string hexDigits(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

}  // namespace

double FlagBit::value() const {
    return mask == 0x80000000u ? -kTwoTo31 : static_cast<double>(mask);
}

const std::array<FlagBit, kFlagBitCount>& flagBits() {
    return kBits;
}

const FlagBit* findFlagBit(std::string_view box) {
    for (const FlagBit& bit : kBits) {
        if (box == bit.box) {
            return &bit;
        }
    }
    return nullptr;
}

const std::array<const char*, kFlagBitCount>& encodeOrder() {
    return kEncodeOrder;
}

const std::array<const char*, kFlagBitCount>& decodeOrder() {
    return kDecodeOrder;
}

std::int32_t flagWordToInt32(double word) {
    if (!std::isfinite(word)) {
        return 0;
    }
    const double wrapped = std::fmod(std::nearbyint(word), 4294967296.0);
    const auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
    return static_cast<std::int32_t>(bits);
}

std::string FlagHex(double word) {
    return hexDigits(static_cast<std::uint32_t>(flagWordToInt32(word)));
}

std::string FlagDecimal(double word) {
    return std::to_string(flagWordToInt32(word));
}

double flagDelta(const FlagBit& bit, int newState) {
    switch (newState) {
        case 1:
            return bit.value();
        case 0:
            return -bit.value();
        default:
            return 0;
    }
}

HexReading readHexFlag(std::string_view text) {
    std::uint64_t value = 0;
    int significant = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') {
            continue;
        }
        const int digit = platform::hexDigitValue(c);
        if (digit < 0) {
            break;
        }
        if (significant == 0 && digit == 0) {
            continue;
        }
        if (++significant > 8) {
            return {false, 0};
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return {true, static_cast<std::int32_t>(static_cast<std::uint32_t>(value))};
}

std::string interlockRefusal(std::uint32_t word) {
    const FlagBit& preview = *findFlagBit("Preview4OUP");
    const FlagBit& oupd = *findFlagBit("OUPD");
    if ((word & preview.mask) != 0 && (word & oupd.mask) == 0) {
        return std::string("Preview4OUP (\"") + preview.caption + "\") needs OUPD (\"" +
               oupd.caption + "\")";
    }
    return "";
}

std::uint32_t unknownBits(std::uint32_t word) {
    std::uint32_t known = 0;
    for (const FlagBit& bit : kBits) {
        known |= bit.mask;
    }
    return word & ~known;
}

double generateFlagWord(const std::function<int(std::string_view box)>& stateOf,
                        const TraceSink& trace) {
    double word = 0;
    trace("----------------------------------------");
    trace("GenerateDefaultPrnFlags");
    trace("   ");
    trace("Start GenerateDefaultPrnFlags  " + FlagHex(word));
    for (const char* box : kEncodeOrder) {
        const FlagBit& bit = *findFlagBit(box);
        if (stateOf(box) == 1) {
            word += bit.value();
        }
        if (bit.encodeLabel != nullptr) {
            std::string line = bit.encodeLabel;
            if (bit.encodeShowsBit) {
                line += std::to_string(bit.mask) + " ";
            }
            trace(line + FlagHex(word));
        }
    }
    trace("Returned DefaultPrnFlags to store in registry " + FlagHex(word) +
          " dec : " + FlagDecimal(word));
    return word;
}

void decodeFlagWord(std::int32_t flags, const TraceSink& trace,
                    const std::function<void(std::string_view box)>& tick) {
    for (const char* box : kDecodeOrder) {
        const FlagBit& bit = *findFlagBit(box);
        const auto masked = static_cast<std::int32_t>(static_cast<std::uint32_t>(flags) & bit.mask);
        std::string line = std::to_string(masked) + bit.decodeLabel;
        if (bit.decodeTail == DecodeTail::Decimal) {
            line += std::to_string(bit.mask);
        } else if (bit.decodeTail == DecodeTail::Hex) {
            line += hexDigits(bit.mask);
        }
        trace(line);
        if (masked != 0) {
            tick(box);
        }
    }
}

}  // namespace ombrel::settings
