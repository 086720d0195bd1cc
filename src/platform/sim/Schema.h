#pragma once
// The tables of farm.db. Names of machines, keys, values, services and logs compare without
// regard to case (COLLATE NOCASE) and keep the case they were created with.

namespace ombrel::sim {

inline constexpr const char* kSchema = R"SQL(
CREATE TABLE meta(
    key   TEXT PRIMARY KEY,
    value TEXT NOT NULL
);

-- Every machine of the simulated world: farm servers, the local machine, other computers.
CREATE TABLE machines(
    name             TEXT PRIMARY KEY COLLATE NOCASE,
    address          TEXT NOT NULL DEFAULT '',
    online           INTEGER NOT NULL DEFAULT 1,
    farm_server      INTEGER NOT NULL DEFAULT 0,  -- member of the farm's server collection
    position         INTEGER NOT NULL DEFAULT 0,  -- order in the server collection
    product_major    INTEGER NOT NULL DEFAULT 0,  -- version of the server product
    product_minor    INTEGER NOT NULL DEFAULT 0,
    product_build    INTEGER NOT NULL DEFAULT 0,
    os_major         INTEGER NOT NULL DEFAULT 5,  -- GetVersionEx of the machine
    os_minor         INTEGER NOT NULL DEFAULT 2,
    os_build         INTEGER NOT NULL DEFAULT 3790,
    os_platform      INTEGER NOT NULL DEFAULT 2,
    os_csd           TEXT NOT NULL DEFAULT '',
    round_trip_ms    INTEGER NOT NULL DEFAULT 1,  -- echo answer time
    driver_directory TEXT NOT NULL DEFAULT 'C:\WINDOWS\system32\spool\drivers\w32x86'
);

-- Registry keys. path is the full path below the root ('' is the root itself).
CREATE TABLE reg_keys(
    id      INTEGER PRIMARY KEY,
    machine TEXT NOT NULL COLLATE NOCASE,
    root    INTEGER NOT NULL,
    path    TEXT NOT NULL COLLATE NOCASE,
    name    TEXT NOT NULL,
    parent  INTEGER REFERENCES reg_keys(id) ON DELETE CASCADE,
    UNIQUE(machine, root, path)
);
CREATE INDEX reg_keys_by_parent ON reg_keys(parent, name COLLATE NOCASE);

-- Registry values: the type code and the data bytes exactly as stored.
CREATE TABLE reg_values(
    key  INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, name)
) WITHOUT ROWID;

-- Services. state is the state at changed_ms; a pending state becomes target_state once
-- transition_ms have passed on the farm's clock.
CREATE TABLE services(
    machine       TEXT NOT NULL COLLATE NOCASE,
    name          TEXT NOT NULL COLLATE NOCASE,
    display_name  TEXT NOT NULL DEFAULT '',
    state         INTEGER NOT NULL,
    target_state  INTEGER NOT NULL,
    changed_ms    INTEGER NOT NULL DEFAULT 0,
    transition_ms INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY(machine, name)
);

-- Event logs. Records are numbered from first_number on; next_number is the number the next
-- record written gets.
CREATE TABLE event_logs(
    machine      TEXT NOT NULL COLLATE NOCASE,
    log          TEXT NOT NULL COLLATE NOCASE,
    next_number  INTEGER NOT NULL DEFAULT 1,
    PRIMARY KEY(machine, log)
);
CREATE TABLE events(
    machine        TEXT NOT NULL COLLATE NOCASE,
    log            TEXT NOT NULL COLLATE NOCASE,
    number         INTEGER NOT NULL,
    time_generated INTEGER NOT NULL,  -- seconds since 1970-01-01 00:00 UTC
    time_written   INTEGER NOT NULL,
    event_id       INTEGER NOT NULL,  -- the whole 32-bit identifier
    type           INTEGER NOT NULL,
    category       INTEGER NOT NULL DEFAULT 0,
    source         TEXT NOT NULL,
    computer       TEXT NOT NULL,
    strings        TEXT NOT NULL DEFAULT '[]',  -- JSON array of the insertion strings
    data           BLOB NOT NULL DEFAULT x'',
    PRIMARY KEY(machine, log, number)
);

-- Environment variables of a machine (for the local machine: computername, username, temp,
-- appdata, SystemRoot, ...).
CREATE TABLE environment(
    machine TEXT NOT NULL COLLATE NOCASE,
    name    TEXT NOT NULL COLLATE NOCASE,
    value   TEXT NOT NULL,
    PRIMARY KEY(machine, name)
);

-- Installed printer drivers per machine and environment.
CREATE TABLE printer_drivers(
    machine           TEXT NOT NULL COLLATE NOCASE,
    environment       TEXT NOT NULL COLLATE NOCASE,
    name              TEXT NOT NULL COLLATE NOCASE,
    version           INTEGER NOT NULL DEFAULT 3,
    driver_path       TEXT NOT NULL DEFAULT '',
    data_file         TEXT NOT NULL DEFAULT '',
    config_file       TEXT NOT NULL DEFAULT '',
    help_file         TEXT NOT NULL DEFAULT '',
    dependent_files   TEXT NOT NULL DEFAULT '[]',  -- JSON array
    monitor_name      TEXT NOT NULL DEFAULT '',
    default_data_type TEXT NOT NULL DEFAULT '',
    position          INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY(machine, environment, name)
);

-- Program launch: a program path on a simulated disk and the real executable it runs.
CREATE TABLE launch_map(
    program    TEXT PRIMARY KEY COLLATE NOCASE,
    executable TEXT NOT NULL
);
-- What was launched and opened, for whoever inspects the farm afterwards.
CREATE TABLE launches(
    task         INTEGER PRIMARY KEY AUTOINCREMENT,
    command_line TEXT NOT NULL,
    started_ms   INTEGER NOT NULL
);
CREATE TABLE shell_opened(
    id         INTEGER PRIMARY KEY AUTOINCREMENT,
    operation  TEXT NOT NULL,
    file       TEXT NOT NULL,
    parameters TEXT NOT NULL,
    opened_ms  INTEGER NOT NULL
);

-- The farm management library's data.
CREATE TABLE farm_administrators(
    user TEXT PRIMARY KEY COLLATE NOCASE
);
CREATE TABLE sessions(
    server        TEXT NOT NULL COLLATE NOCASE,
    session_id    INTEGER NOT NULL,
    position      INTEGER NOT NULL DEFAULT 0,
    protocol_type INTEGER NOT NULL DEFAULT 0,
    user_name     TEXT NOT NULL DEFAULT '',
    session_name  TEXT NOT NULL DEFAULT '',
    app_name      TEXT NOT NULL DEFAULT '',
    policy        TEXT NOT NULL DEFAULT '{}',  -- JSON: rules, vcPolicies, sessionPrinterRule, sessionPrinters
    policy_error  INTEGER NOT NULL DEFAULT 0,  -- COM result of reading the policy
    PRIMARY KEY(server, session_id)
);
CREATE TABLE farm_drivers(
    name     TEXT PRIMARY KEY COLLATE NOCASE,
    position INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE compatible_drivers(
    name     TEXT PRIMARY KEY COLLATE NOCASE,
    position INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE permissions(
    code   INTEGER PRIMARY KEY,
    answer INTEGER NOT NULL
);
)SQL";

// A counter per table that the simulation keeps in memory, raised by every change to it, so
// that a process knows cheaply whether its copy is still good. Run on every open too: farms
// made before the counters existed get them.
inline constexpr const char* kCachedTables = R"SQL(
CREATE TABLE IF NOT EXISTS cached_tables(
    name    TEXT PRIMARY KEY,
    version INTEGER NOT NULL DEFAULT 0
);
INSERT OR IGNORE INTO cached_tables(name) VALUES('machines'), ('meta'), ('reg_keys');
CREATE TRIGGER IF NOT EXISTS machines_inserted AFTER INSERT ON machines BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'machines'; END;
CREATE TRIGGER IF NOT EXISTS machines_updated AFTER UPDATE ON machines BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'machines'; END;
CREATE TRIGGER IF NOT EXISTS machines_deleted AFTER DELETE ON machines BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'machines'; END;
CREATE TRIGGER IF NOT EXISTS meta_inserted AFTER INSERT ON meta BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'meta'; END;
CREATE TRIGGER IF NOT EXISTS meta_updated AFTER UPDATE ON meta BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'meta'; END;
CREATE TRIGGER IF NOT EXISTS meta_deleted AFTER DELETE ON meta BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'meta'; END;
CREATE TRIGGER IF NOT EXISTS reg_keys_inserted AFTER INSERT ON reg_keys BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'reg_keys'; END;
CREATE TRIGGER IF NOT EXISTS reg_keys_updated AFTER UPDATE ON reg_keys BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'reg_keys'; END;
CREATE TRIGGER IF NOT EXISTS reg_keys_deleted AFTER DELETE ON reg_keys BEGIN
    UPDATE cached_tables SET version = version + 1 WHERE name = 'reg_keys'; END;
CREATE INDEX IF NOT EXISTS machines_by_address ON machines(address, online);
-- Registry keys the farm's user may read but not change (a farm description's "denied").
CREATE TABLE IF NOT EXISTS reg_denied(
    key INTEGER PRIMARY KEY REFERENCES reg_keys(id) ON DELETE CASCADE
);
-- The services a service needs running before it starts (DependOnService). Made here rather
-- than with the first tables so that farms made before it get it on their next open.
CREATE TABLE IF NOT EXISTS service_dependencies(
    machine    TEXT NOT NULL COLLATE NOCASE,
    service    TEXT NOT NULL COLLATE NOCASE,
    depends_on TEXT NOT NULL COLLATE NOCASE,
    position   INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY(machine, service, depends_on)
);
)SQL";

}  // namespace ombrel::sim
