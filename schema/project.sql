-- Tables of a project database and of the empty template every project starts from.
-- Export and import copy rows by column position, so ID (the record) stays the first
-- column of every record table; the other keys are kept unique by the program itself,
-- which is why only the record id of E1 is enforced here.

-- Record header: one row per drilling record; ID 0 stands for the multiple evaluation.
CREATE TABLE E1 (
    ID INTEGER,
    KEN TEXT COLLATE NOCASE,
    KOM TEXT COLLATE NOCASE,
    AKT BOOLEAN,
    DATUMA DATETIME,
    DATUME DATETIME,
    NN FLOAT,
    ZGW FLOAT,
    GBRZ FLOAT,
    GNTZ FLOAT,
    FNE FLOAT
);
CREATE UNIQUE INDEX IX_E1_ID ON E1 (ID);

-- Depth of each section's lower edge, ground level = 0.
CREATE TABLE E2 (
    ID INTEGER,
    I2 SMALLINT,
    Z FLOAT
);
CREATE INDEX IX_E2 ON E2 (ID, I2);

-- Equipment by preset key, additional costs and crew of each section.
CREATE TABLE E3 (
    ID INTEGER,
    I2 SMALLINT,
    D FLOAT,
    KENT TEXT COLLATE NOCASE,
    KENV TEXT COLLATE NOCASE,
    KENL TEXT COLLATE NOCASE,
    KENF TEXT COLLATE NOCASE,
    ZKT FLOAT,
    ZKV FLOAT,
    ZKL FLOAT,
    ZKF FLOAT,
    PER SMALLINT
);
CREATE INDEX IX_E3 ON E3 (ID, I2);

-- Rock of each section by preset key.
CREATE TABLE E4 (
    ID INTEGER,
    I2 SMALLINT,
    KENG TEXT COLLATE NOCASE
);
CREATE INDEX IX_E4 ON E4 (ID, I2);

-- Recorded times of each section, or the factors that spread the whole-bore totals.
CREATE TABLE E5 (
    ID INTEGER,
    I2 SMALLINT,
    BRZ FLOAT,
    NTZ FLOAT,
    AUZ FLOAT,
    PPZ FLOAT,
    STZ FLOAT,
    NEZ FLOAT,
    FA FLOAT,
    FAUZ FLOAT,
    FPPZ FLOAT,
    FSTZ FLOAT
);
CREATE INDEX IX_E5 ON E5 (ID, I2);

-- Evaluation options of a record: unit-cost set, cost and time breakdown.
CREATE TABLE E6 (
    ID INTEGER,
    KENK TEXT COLLATE NOCASE,
    K SMALLINT,
    ZAUF SMALLINT
);
CREATE INDEX IX_E6 ON E6 (ID);

-- Result header: whether a record must be evaluated before its results may be shown.
CREATE TABLE A1 (
    ID INTEGER,
    BONEU BOOLEAN
);
CREATE INDEX IX_A1 ON A1 (ID);

-- Evaluated times, length and crew of each section.
CREATE TABLE A2 (
    ID INTEGER,
    I2 SMALLINT,
    DEZ FLOAT,
    NTZ FLOAT,
    AUZ FLOAT,
    PPZ FLOAT,
    STZ FLOAT,
    BRZ FLOAT,
    PER SMALLINT
);
CREATE INDEX IX_A2 ON A2 (ID, I2);

-- Frame and scale of each figure of a record (ID 0: the multiple evaluation).
CREATE TABLE G0 (
    ID INTEGER,
    IDOBJEKT SMALLINT,
    OX SMALLINT,
    OY SMALLINT,
    RL FLOAT,
    RR FLOAT,
    RO FLOAT,
    RU FLOAT,
    MYMX FLOAT,
    XMIN FLOAT,
    XMAX FLOAT,
    YMIN FLOAT,
    YMAX FLOAT,
    MX FLOAT,
    MY FLOAT,
    MSP FLOAT
);
CREATE INDEX IX_G0 ON G0 (ID, IDOBJEKT);

-- Fixed texts of a figure.
CREATE TABLE G1 (
    ID INTEGER,
    IDOBJEKT SMALLINT,
    KEN SMALLINT,
    LFDNR SMALLINT,
    SA TEXT COLLATE NOCASE,
    SG SMALLINT,
    SF BOOLEAN,
    SU BOOLEAN,
    SK BOOLEAN,
    FB SMALLINT,
    XP FLOAT,
    YP FLOAT,
    TXT TEXT COLLATE NOCASE,
    WI SMALLINT,
    ARX SMALLINT,
    ARY SMALLINT
);
CREATE INDEX IX_G1 ON G1 (ID, IDOBJEKT, KEN, LFDNR);

-- Fixed polylines of a figure; their points are in G2_2.
CREATE TABLE G2_1 (
    ID INTEGER,
    IDOBJEKT SMALLINT,
    KEN SMALLINT,
    LFDNR SMALLINT,
    TXT TEXT COLLATE NOCASE,
    LA SMALLINT,
    FB SMALLINT,
    LB FLOAT,
    PSTYP SMALLINT,
    PSIT SMALLINT,
    PNR SMALLINT,
    LAGETEXT SMALLINT,
    LAGEPFEIL SMALLINT
);
CREATE INDEX IX_G2_1 ON G2_1 (ID, IDOBJEKT, KEN, LFDNR);

-- Points of the fixed polylines, numbered from 0 along each line.
CREATE TABLE G2_2 (
    ID INTEGER,
    IDOBJEKT SMALLINT,
    KEN TEXT COLLATE NOCASE,
    LFDNR SMALLINT,
    PKTNR SMALLINT,
    PX FLOAT,
    PY FLOAT
);
CREATE INDEX IX_G2_2 ON G2_2 (ID, IDOBJEKT, KEN, LFDNR, PKTNR);

-- Fixed circular arcs of a figure.
CREATE TABLE G3 (
    ID INTEGER,
    IDOBJEKT SMALLINT,
    KEN SMALLINT,
    LFDNR SMALLINT,
    LA SMALLINT,
    FB SMALLINT,
    LB FLOAT,
    MPX FLOAT,
    MPY FLOAT,
    PX1 FLOAT,
    PY1 FLOAT,
    WI FLOAT
);
CREATE INDEX IX_G3 ON G3 (ID, IDOBJEKT, KEN, LFDNR);

-- Settings of the project's multiple evaluation: its comment and the gross/net choice.
CREATE TABLE M1 (
    IDM INTEGER,
    KOM TEXT COLLATE NOCASE,
    VZ SMALLINT
);
CREATE INDEX IX_M1 ON M1 (IDM);

-- Combinations of preset keys that the multiple evaluation compares; empty keys match all.
CREATE TABLE M2 (
    IDM INTEGER,
    I1 SMALLINT,
    KENG TEXT COLLATE NOCASE,
    KENT TEXT COLLATE NOCASE,
    KENV TEXT COLLATE NOCASE,
    KENL TEXT COLLATE NOCASE,
    KENF TEXT COLLATE NOCASE
);
CREATE INDEX IX_M2 ON M2 (IDM, I1);

-- Sums of lengths, times, costs, person-hours and additional costs per combination.
CREATE TABLE M3 (
    IDM INTEGER,
    I1 SMALLINT,
    BOKOMB BOOLEAN,
    SDEZ FLOAT,
    SBRZ FLOAT,
    SBRKT FLOAT,
    SBRKV FLOAT,
    SBRKL FLOAT,
    SBRKF FLOAT,
    SBRKP FLOAT,
    SBRPH FLOAT,
    SNTZ FLOAT,
    SNTKT FLOAT,
    SNTKV FLOAT,
    SNTKL FLOAT,
    SNTKF FLOAT,
    SNTKP FLOAT,
    SNTPH FLOAT,
    SAUZ FLOAT,
    SAUK FLOAT,
    SAUPH FLOAT,
    SPPZ FLOAT,
    SPPK FLOAT,
    SPPPH FLOAT,
    SSTZ FLOAT,
    SSTK FLOAT,
    SSTPH FLOAT,
    SZKT FLOAT,
    ANZKT INTEGER,
    SZKV FLOAT,
    ANZKV INTEGER,
    SZKL FLOAT,
    ANZKL INTEGER,
    SZKF FLOAT,
    ANZKF INTEGER
);
CREATE INDEX IX_M3 ON M3 (IDM, I1);

-- Length-weighted means and standard deviations per combination.
CREATE TABLE M4 (
    IDM INTEGER,
    I1 SMALLINT,
    XQBRV FLOAT,
    SXBRV FLOAT,
    XQNTV FLOAT,
    SXNTV FLOAT,
    XQBRK FLOAT,
    SXBRK FLOAT,
    XQNTK FLOAT,
    SXNTK FLOAT,
    XQNEZ FLOAT,
    SXNEZ FLOAT,
    XQNEK FLOAT,
    SXNEK FLOAT,
    XQZK FLOAT,
    SXZK FLOAT,
    XQZKM FLOAT,
    SXZKM FLOAT
);
CREATE INDEX IX_M4 ON M4 (IDM, I1);
