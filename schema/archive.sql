-- The family's archive database: the user table through which the frame program hands
-- a user's project to the program.

-- One row per login user (upper case): the program being run, project folder, project
-- and editor.
CREATE TABLE ADMIN (
    BENUTZER TEXT COLLATE NOCASE,
    PROG TEXT COLLATE NOCASE,
    PROJEKTSPFAD TEXT COLLATE NOCASE,
    PROJEKT TEXT COLLATE NOCASE,
    BEARBEITER TEXT COLLATE NOCASE
);
CREATE INDEX IX_ADMIN ON ADMIN (BENUTZER);
