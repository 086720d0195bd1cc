#pragma once
// The collations every connection to farm.db compares names with. Windows compares registry,
// service, log and machine names without regard to case for every letter of the code page;
// SQLite's own NOCASE knows only A to Z. Registering these on a connection before its first
// statement replaces NOCASE with the code-page folding (identical for ASCII names, so the
// order of existing indexes holds) and adds WINORDER, the order the registry lists names in
// (by their upper-case forms).

#include <SQLiteCpp/Database.h>

namespace ombrel::sim {

void registerNameCollations(SQLite::Database& db);

}  // namespace ombrel::sim
