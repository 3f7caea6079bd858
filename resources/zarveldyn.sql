-- The user database as shipped in the bundle ("zarveldyn.db"): every table,
-- column and index at schema version 3.24, and no user rows, so a fresh
-- install runs no upgrade step.

-- Bookmarks: REPLACE INTO replaces the row of the same surah, verse and is_audio.
CREATE TABLE bookmarks (surah INTEGER NOT NULL, verse INTEGER NOT NULL, is_audio INTEGER NOT NULL DEFAULT 0,
                        note TEXT, bkgroup INTEGER NOT NULL DEFAULT 0, UNIQUE (surah, verse, is_audio));
CREATE TABLE bookmarksections (surah INTEGER NOT NULL DEFAULT 1, collapsed INTEGER NOT NULL DEFAULT 1);
CREATE INDEX bookmarksections_surah ON bookmarksections (surah);

-- Saved searches: ids are never reused, so marks left behind by a deleted
-- search never attach to a later one.
CREATE TABLE savedsearches (savesearch_id INTEGER PRIMARY KEY AUTOINCREMENT, searchword TEXT,
                            hitcount INTEGER NOT NULL DEFAULT 0, translation INTEGER NOT NULL DEFAULT 0,
                            isuse INTEGER NOT NULL DEFAULT 0, datesearched DOUBLE NOT NULL DEFAULT 0);
CREATE TABLE searchmatches (surah INTEGER NOT NULL, verse INTEGER NOT NULL, savesearch_id INTEGER NOT NULL);
CREATE INDEX searchmatches_surahverse ON searchmatches (surah, verse);

-- Installed recitations and their gzip-compressed MP3s.
CREATE TABLE recitations (reciter INTEGER NOT NULL, surah INTEGER NOT NULL);
CREATE UNIQUE INDEX recitations_recsur ON recitations (reciter, surah);
CREATE TABLE recitationmp3s (reciter INTEGER NOT NULL, surah INTEGER NOT NULL, verse INTEGER NOT NULL, mp3 BLOB);
CREATE UNIQUE INDEX recitationmp3s_recsurverse ON recitationmp3s (reciter, surah, verse);
CREATE TABLE contrecitations ('reciter' integer, 'surah' integer, 'ishq' integer NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX contrecitsurahrecit ON contrecitations (reciter, surah, ishq);
CREATE TABLE contrecitationmp3s ('reciter' integer, 'surah' integer, 'part' integer, 'mp3' BLOB);
CREATE INDEX contrecitationmp3s_recitersurah ON contrecitationmp3s (reciter, surah);
CREATE UNIQUE INDEX contrecitationmp3s_recitersurahpart ON contrecitationmp3s (reciter, surah, part);

-- Measured translation heights (no statement reads or writes its rows).
CREATE TABLE optimizedtrans (translation INTEGER NOT NULL, surah INTEGER NOT NULL, verse INTEGER NOT NULL,
                             height INTEGER NOT NULL, islandscape INTEGER NOT NULL DEFAULT 0,
                             potraitwidth INTEGER NOT NULL, landscapewidth INTEGER NOT NULL,
                             devicescale DOUBLE NOT NULL DEFAULT 1, isipad INTEGER NOT NULL DEFAULT 0,
                             fontscale INTEGER NOT NULL DEFAULT 0, isfullscreen INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX optimizedtrans_all ON optimizedtrans (translation, surah, verse, islandscape, potraitwidth,
                                                          landscapewidth, isipad, fontscale, isfullscreen);

-- Schema version.
CREATE TABLE dbversion ('version' double);
CREATE UNIQUE INDEX dbver ON dbversion (version);
INSERT INTO dbversion (version) VALUES (3.1);
INSERT INTO dbversion (version) VALUES (3.24);
