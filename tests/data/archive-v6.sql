-- SPDX-License-Identifier: GPL-3.0-or-later
-- An archive as the sixth archive version left it, written out by hand: two downloads of group
-- 3, the newer one still waiting for the shared archive and with the tester's identify reply, a
-- name for group 3 from the older one on, limits set twice for group 3 by anna with a reason,
-- the site its reports name, its rule and a decision on its newest reading; any program of
-- archive version 1 on may write to it. archive-v6.sqlite is made from it with:
-- sqlite3 archive-v6.sqlite < archive-v6.sql
CREATE TABLE schema_version (version INTEGER NOT NULL,
    min_writer_version INTEGER NOT NULL DEFAULT 1);
INSERT INTO schema_version (version, min_writer_version) VALUES (6, 1);
CREATE TABLE downloads (id INTEGER PRIMARY KEY, sha256 TEXT NOT NULL UNIQUE,
    time_ms BIGINT NOT NULL, utc_offset INTEGER NOT NULL, port TEXT NOT NULL,
    protocol TEXT NOT NULL, outcome TEXT NOT NULL, tester TEXT NOT NULL,
    program TEXT NOT NULL, file TEXT NOT NULL, results INTEGER NOT NULL,
    ascans INTEGER NOT NULL, waiting INTEGER NOT NULL DEFAULT 0,
    identification TEXT NOT NULL DEFAULT '');
CREATE INDEX downloads_time ON downloads (time_ms);
CREATE TABLE results (download_id BIGINT NOT NULL REFERENCES downloads (id) ON DELETE CASCADE,
    row_no INTEGER NOT NULL, grp INTEGER NOT NULL, cell INTEGER NOT NULL, raw INTEGER NOT NULL,
    divisor INTEGER NOT NULL, unit INTEGER NOT NULL, ascan INTEGER NOT NULL,
    PRIMARY KEY (download_id, row_no));
CREATE INDEX results_point ON results (grp, cell);
CREATE TABLE group_names (id INTEGER PRIMARY KEY, grp INTEGER NOT NULL, name TEXT NOT NULL,
    from_ms BIGINT NOT NULL, set_by TEXT NOT NULL DEFAULT '',
    db_role TEXT NOT NULL DEFAULT '', reason TEXT NOT NULL DEFAULT '');
CREATE INDEX group_names_grp ON group_names (grp, from_ms);
CREATE TABLE kept_files (download_id BIGINT PRIMARY KEY REFERENCES downloads (id)
    ON DELETE CASCADE, bytes BLOB NOT NULL);
CREATE TABLE group_limits (id INTEGER PRIMARY KEY, grp INTEGER NOT NULL,
    nominal DOUBLE PRECISION NOT NULL, minimum DOUBLE PRECISION NOT NULL,
    warning DOUBLE PRECISION NOT NULL, from_ms BIGINT NOT NULL, set_by TEXT NOT NULL DEFAULT '',
    db_role TEXT NOT NULL DEFAULT '', reason TEXT NOT NULL DEFAULT '');
CREATE INDEX group_limits_grp ON group_limits (grp, from_ms);
CREATE TABLE particulars (id INTEGER PRIMARY KEY, grp INTEGER NOT NULL, name TEXT NOT NULL,
    value TEXT NOT NULL, set_ms BIGINT NOT NULL);
CREATE INDEX particulars_grp ON particulars (grp, name, set_ms);
CREATE TABLE object_settings (id INTEGER PRIMARY KEY, grp INTEGER NOT NULL,
    setting TEXT NOT NULL, value TEXT NOT NULL, from_ms BIGINT NOT NULL, set_by TEXT NOT NULL DEFAULT '',
    db_role TEXT NOT NULL DEFAULT '', reason TEXT NOT NULL DEFAULT '');
CREATE INDEX object_settings_grp ON object_settings (grp, setting, from_ms);
CREATE TABLE reading_decisions (id INTEGER PRIMARY KEY, grp INTEGER NOT NULL,
    cell INTEGER NOT NULL, time_ms BIGINT NOT NULL, decision TEXT NOT NULL,
    set_ms BIGINT NOT NULL, waiting INTEGER NOT NULL DEFAULT 0, set_by TEXT NOT NULL DEFAULT '',
    db_role TEXT NOT NULL DEFAULT '', reason TEXT NOT NULL DEFAULT '',
    UNIQUE (grp, cell, time_ms, set_ms, decision));
-- 2025-04-02T09:15:00+02:00 and 2025-10-20T15:30:00+03:00
INSERT INTO downloads (sha256, time_ms, utc_offset, port, protocol, outcome, tester, program,
    file, results, ascans, waiting, identification) VALUES
    ('1111111111111111111111111111111111111111111111111111111111111111', 1743578100000, 7200,
     'COM3', 'extended', 'completed', 'M47xx', '4.1', '/data/2025-04-02_091500.clxd', 2, 1, 0, ''),
    ('2222222222222222222222222222222222222222222222222222222222222222', 1760963400000, 10800,
     'COM5', 'standard', 'incomplete', 'M47xx', '4.1', '/data/2025-10-20_153000.clxd', 1, 0, 1,
     'Tarn Qellix 6');
INSERT INTO results (download_id, row_no, grp, cell, raw, divisor, unit, ascan) VALUES
    ((SELECT id FROM downloads WHERE port = 'COM3'), 0, 3, 7, 1234, 100, 2, 1),
    ((SELECT id FROM downloads WHERE port = 'COM3'), 1, 3, 8, 5000, 100, 2, 0),
    ((SELECT id FROM downloads WHERE port = 'COM5'), 0, 3, 7, 119, 10, 2, 0);
INSERT INTO group_names (grp, name, from_ms) VALUES (3, 'Tank 3', 1743578100000);
-- Set at 2025-10-20T15:30:00+03:00 and, written later, at 2025-04-02T09:15:00+02:00: the
-- later time applies.
INSERT INTO group_limits (grp, nominal, minimum, warning, from_ms, set_by, reason) VALUES
    (3, 12.5, 9.5, 1.0, 1760963400000, 'anna', 'dwg 4'),
    (3, 12.5, 10.0, 1.0, 1743578100000, 'anna', 'dwg 4');
INSERT INTO particulars (grp, name, value, set_ms) VALUES
    (3, 'site', 'Harbour Works', 1743578100000);
INSERT INTO object_settings (grp, setting, value, from_ms, set_by, reason) VALUES
    (3, 'rule', 'vessel', 1743578100000, 'anna', 'code');
-- The newest reading verified at 2025-10-21T08:00:00Z.
INSERT INTO reading_decisions (grp, cell, time_ms, decision, set_ms, set_by, reason) VALUES
    (3, 7, 1760963400000, 'verified', 1761033600000, 'anna', 're-measured');
