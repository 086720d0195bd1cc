#pragma once
// A message module of the simulated world is a text file (UTF-8) in a small format modelled
// on the message compiler's .mc files, standing where Windows has a DLL with a message table:
//
//     ; Messages of the Print source. Lines that begin with ";" are comments.
//     MessageId=0xC0000014
//     The printer %1 could not be installed.
//     Error: %2
//     .
//     MessageId=20
//     Category one
//     .
//
// "MessageId=<n>" starts a message: n is the whole 32-bit identifier (severity, facility and
// code together), in decimal or as 0x hexadecimal; blanks around the "=" and the number are
// allowed and the keyword's case does not matter. Every following line is text, taken as it
// is, up to a line that holds a single "." (trailing blanks allowed). The message's text is its
// lines, each ended with CR LF, as the compiler stores them, so a one-line message ends with
// CR LF and a message without lines is empty. Outside a message, empty lines and comments are
// skipped; anything else, a bad or duplicate identifier, or a message left open at the end of
// the file makes the file malformed (LoadLibraryEx then fails with ERROR_BAD_EXE_FORMAT).
// A file without any message is a module without a message table. The file may use LF or
// CR LF line ends and may begin with a UTF-8 byte-order mark.

#include <map>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace ombrel::sim {

struct MessageTable {
    std::map<platform::DWORD, std::string> texts;  // Windows-1252, as FormatMessageA hands out
};

// Parses the file's text into table; false with a reason ("line 7: ...") when it is malformed.
bool parseMessageFile(std::string_view utf8Text, MessageTable& table, std::string& error);

}  // namespace ombrel::sim
