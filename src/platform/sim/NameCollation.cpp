#include "platform/sim/NameCollation.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string_view>

#include "platform/CodePage.h"

namespace ombrel::sim {

namespace {

template <platform::Fold fold>
int compare(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return platform::compareFolded(
        std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
        std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)), fold);
}

void add(SQLite::Database& db, const char* name,
         int (*comparison)(void*, int, const void*, int, const void*)) {
    if (sqlite3_create_collation_v2(db.getHandle(), name, SQLITE_UTF8, nullptr, comparison,
                                    nullptr) != SQLITE_OK) {
        throw std::runtime_error(std::string("cannot register the collation ") + name);
    }
}

}  // namespace

void registerNameCollations(SQLite::Database& db) {
    add(db, "NOCASE", &compare<platform::Fold::Lower>);
    add(db, "WINORDER", &compare<platform::Fold::Upper>);
}

}  // namespace ombrel::sim
