-- Tables of the preset database shared by every project. A development project gets
-- them too, because the program then reads its presets from the working database.
-- Running numbers and identifiers are not enforced unique: the editor rewrites a table
-- row by row, and rows with doubled numbers must stay readable.

-- Carrier rigs with their hourly unit cost.
CREATE TABLE VANT_V11 (
    IDT INTEGER,
    KENT TEXT COLLATE NOCASE,
    KOMT TEXT COLLATE NOCASE,
    EKT FLOAT
);
CREATE INDEX IX_VANT_V11 ON VANT_V11 (IDT);

-- Casings with their hourly unit cost.
CREATE TABLE VANT_V12 (
    IDV INTEGER,
    KENV TEXT COLLATE NOCASE,
    KOMV TEXT COLLATE NOCASE,
    EKV FLOAT
);
CREATE INDEX IX_VANT_V12 ON VANT_V12 (IDV);

-- Cutting tools with their hourly unit cost.
CREATE TABLE VANT_V13 (
    IDL INTEGER,
    KENL TEXT COLLATE NOCASE,
    KOML TEXT COLLATE NOCASE,
    EKL FLOAT
);
CREATE INDEX IX_VANT_V13 ON VANT_V13 (IDL);

-- Conveying tools with their hourly unit cost.
CREATE TABLE VANT_V14 (
    IDF INTEGER,
    KENF TEXT COLLATE NOCASE,
    KOMF TEXT COLLATE NOCASE,
    EKF FLOAT
);
CREATE INDEX IX_VANT_V14 ON VANT_V14 (IDF);

-- Rocks: compressive strength (MPa), quartz content (%) and abrasivity, each as mean,
-- minimum and maximum; shown only, never calculated with.
CREATE TABLE VANT_V2 (
    IDG INTEGER,
    KENG TEXT COLLATE NOCASE,
    KOMG TEXT COLLATE NOCASE,
    SICQ DOUBLE,
    SICMIN DOUBLE,
    SICMAX DOUBLE,
    QGQ DOUBLE,
    QGMIN DOUBLE,
    QGMAX DOUBLE,
    CAIQ DOUBLE,
    CAIMIN DOUBLE,
    CAIMAX DOUBLE
);
CREATE INDEX IX_VANT_V2 ON VANT_V2 (IDG);

-- Unit-cost sets: staff cost per person and hour, whether staff costs are already inside
-- the device costs, and the factors on device, staff and additional costs.
CREATE TABLE VANT_V3 (
    IDK INTEGER,
    KENK TEXT COLLATE NOCASE,
    KOMK TEXT COLLATE NOCASE,
    EKP FLOAT,
    KENKPG SMALLINT,
    FKG FLOAT,
    FKP FLOAT,
    FZK FLOAT
);
CREATE INDEX IX_VANT_V3 ON VANT_V3 (IDK);

-- Logger configurations: layout of a drilling machine's logger file.
CREATE TABLE VANT_VE1 (
    IDK INTEGER,
    AKVK TEXT COLLATE NOCASE,
    ZL SMALLINT,
    DATUM TEXT COLLATE NOCASE,
    UHRZEIT TEXT COLLATE NOCASE,
    KENZ1NR TEXT COLLATE NOCASE,
    KENZ1KZ TEXT COLLATE NOCASE,
    TZS TEXT COLLATE NOCASE,
    TZZ TEXT COLLATE NOCASE
);
CREATE INDEX IX_VANT_VE1 ON VANT_VE1 (AKVK);

-- The values of a logger configuration: where each stands in a cycle, its grid column
-- and how it is cleaned up.
CREATE TABLE VANT_VE2 (
    IDK INTEGER,
    MNR SMALLINT,
    SPALTE TEXT COLLATE NOCASE,
    POSITION INTEGER,
    PRAEFIX TEXT COLLATE NOCASE,
    SUFFIX TEXT COLLATE NOCASE,
    FAKTOR FLOAT,
    FORMAT TEXT COLLATE NOCASE
);
CREATE INDEX IX_VANT_VE2 ON VANT_VE2 (IDK, MNR);
