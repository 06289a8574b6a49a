-- The clinic database of Fenwarra (SQLite). The program creates a new file
-- from this schema and then loads the reference rows of rows/*.sql, all in one
-- transaction.
--
-- Names keep the blanks and the spelling the program uses in its queries;
-- SQLite matches table and column names without regard to ASCII case, so
-- [CLIENTS], [CASENO] and [upperwt] reach the same table and columns.
-- Dates are ISO texts (YYYY-MM-DD); date arithmetic uses julianday().
-- The text sizes in VARCHAR(n) are the limits the entry windows enforce;
-- SQLite does not enforce them itself.

-- Marks the file as a Fenwarra database ("FWNR") and gives the schema version.
-- Version 2 ships the diet catalogue's rows; a file of version 1, whose diet
-- tables are empty, gets them once when the program next opens it. Version 3
-- adds the index on [Last Weighed]; an earlier file gets it the same way.
PRAGMA application_id = 1180126802;
PRAGMA user_version = 3;

-- One row per case: one animal of one client.
CREATE TABLE [Clients] (
    [CaseNo]            INTEGER NOT NULL UNIQUE,  -- a new case takes the highest number plus one
    [Surname]           VARCHAR(30),
    [SurnameKey]        TEXT COLLATE NOCASE,      -- case-folded Surname: the locator searches it by prefix with LIKE
    [AnimalName]        VARCHAR(20),
    [Tel No]            VARCHAR(20),
    [Species]           VARCHAR(20),
    [DOB]               TEXT,                     -- ISO date
    [Sex]               VARCHAR(20),
    [Breed]             VARCHAR(35),
    [Units]             VARCHAR(2),               -- "kg", "gm", "lb" or "oz"
    [UpperWt]           REAL,
    [LowerWt]           REAL,
    [CurrentWt]         REAL,
    [Graph Data]        TEXT,                     -- weekly history "12.5;12.3;"
    [Graph Data Undo]   TEXT,
    [Last Weighed]      TEXT,                     -- ISO date
    [Last Weighed Undo] TEXT,                     -- ISO date
    [Vet Comments]      TEXT,
    [Diet Recommend]    TEXT,
    [LinkedRecNo]       INTEGER,                  -- the client's number in the practice-management program
    [Active]            INTEGER NOT NULL DEFAULT 1, -- 1: takes part in the re-weighing reminders
    [Aged]              INTEGER                   -- days since the last weighing, as of the latest reminder load
);
CREATE INDEX [Clients_LinkedRecNo] ON [Clients] ([LinkedRecNo]);
CREATE INDEX [Clients_SurnameKey] ON [Clients] ([SurnameKey]);
-- The reminders read only the cases last weighed within their window.
CREATE INDEX [Clients_Last Weighed] ON [Clients] ([Last Weighed]);

-- Pick lists of the case entry.
CREATE TABLE [Species] (
    [Species Name] VARCHAR(20) NOT NULL
);

CREATE TABLE [Sex] (
    [Sex Name] VARCHAR(20) NOT NULL
);

CREATE TABLE [CAT BREEDS] (
    [Name] VARCHAR(35) NOT NULL
);

-- Recommended weights of dog breeds, in kg. [Wt Range] is "lo-hi".
CREATE TABLE [Dog Breeds] (
    [Breed]     VARCHAR(35) NOT NULL,
    [Wt Range]  VARCHAR(20) NOT NULL,
    [Wt Male]   REAL NOT NULL,
    [Wt Female] REAL NOT NULL
);

-- The diet catalogue. [Category] lists condition codes as ";c1;c2;".
-- Energies are KCal per 100 gm; [Form Dry] is a bag in kg, [Form Can] a can in gm.
CREATE TABLE [Diets] (
    [Generic]           VARCHAR(50),
    [Category]          VARCHAR(255),
    [Indications]       TEXT,
    [Contraindications] TEXT,
    [ME Dry]            REAL,
    [ME Can]            REAL,
    [KCal per cup dry]  REAL,
    [Form Dry]          REAL,
    [Form Can]          REAL
);

-- The practice's own diets; a name may be used once, whatever its letter case.
CREATE TABLE [Diets Added] (
    [Generic]           VARCHAR(50),
    [Indications]       TEXT,
    [Contraindications] TEXT,
    [ME Dry]            REAL,
    [ME Can]            REAL,
    [KCal per cup dry]  REAL,
    [Form Dry]          REAL,
    [Form Can]          REAL
);
CREATE UNIQUE INDEX [Diets Added_Generic] ON [Diets Added] ([Generic] COLLATE NOCASE);

-- Condition tree node (1 to 95) to the category code its diets carry.
CREATE TABLE [Category Codes Diets] (
    [Node Index] INTEGER NOT NULL,
    [Code]       VARCHAR(20) NOT NULL
);
CREATE INDEX [Category Codes Diets_Node Index] ON [Category Codes Diets] ([Node Index]);

-- Reference growth curves in kg: 27 rows, one for each of the weeks 0, 2, ...,
-- 52, read in order of [Week] whatever order they are stored in. [Week] comes
-- last so that a file made before it existed gains it with ADD COLUMN and
-- keeps the same shape as a new one.
CREATE TABLE [Puppy Curves] (
    [Great Dane]     REAL,
    [Newfoundland]   REAL,
    [Labrador]       REAL,
    [Bulldog]        REAL,
    [Cocker Spaniel] REAL,
    [Fox Terrier]    REAL,
    [Pekingese]      REAL,
    [Pomeranian]     REAL,
    [Week]           INTEGER
);

CREATE TABLE [Kitten Curves] (
    [Male Upper]   REAL,
    [Male Lower]   REAL,
    [Female Upper] REAL,
    [Female Lower] REAL,
    [Week]         INTEGER
);

-- The figures of the client handout last prepared: exactly one row.
CREATE TABLE [Report Variables] (
    [Age]          VARCHAR(50),
    [Summary]      VARCHAR(255),
    [IdealWt]      VARCHAR(255),
    [AvWt]         VARCHAR(255),
    [LossRate]     VARCHAR(255),
    [TimeToTarget] VARCHAR(255),
    [BreedRecWtLb] VARCHAR(50),
    [BreedRecWt]   VARCHAR(50),
    [Target]       VARCHAR(50),
    [Progress]     VARCHAR(50),
    [AnName]       VARCHAR(20),
    [Surname]      VARCHAR(30),
    [Spp]          VARCHAR(20),
    [Breed]        VARCHAR(35),
    [Sex]          VARCHAR(20),
    [TelNo]        VARCHAR(20),
    [DateLastWt]   VARCHAR(30),
    [WtRange]      VARCHAR(100),
    [DietRec]      TEXT,
    [VetCom]       TEXT
);

-- The practice's own details: exactly one row.
CREATE TABLE [Personal] (
    [Surgery]   VARCHAR(50),
    [Address 1] VARCHAR(50),
    [Address 2] VARCHAR(50),
    [Tel No]    VARCHAR(20),
    [Fax No]    VARCHAR(20),
    [e-mail]    VARCHAR(50)
);
