/* The program's database, SQL dialect 1. Text columns name no character set: they take the
   database's default (WIN1250 for a database made now, none for one made by an earlier
   version), and the program stores Windows-1250 bytes in both. Foreign keys keep every purchase tied to a vehicle, every
   vehicle to a taxpayer, a vehicle type and a fuel, so that no row can drop out of a
   settlement unseen; a renumbered key is carried over to the rows that refer to it. */

CREATE GENERATOR G_NRPAL;
CREATE GENERATOR G_NRSIL;
CREATE GENERATOR G_ZAK;

CREATE TABLE RODZ_PALIWA (
  NR          SMALLINT NOT NULL,
  NAZWA       VARCHAR(30),
  PRZEL_L_KG  NUMERIC(9,4),
  CONSTRAINT PK_RODZ_PALIWA PRIMARY KEY (NR)
);

CREATE TABLE RODZ_SILNIKA (
  NR     SMALLINT NOT NULL,
  NAZWA  VARCHAR(50) NOT NULL,
  CONSTRAINT PK_RODZ_SILNIKA PRIMARY KEY (NR)
);

CREATE TABLE TAB_OPL_SILN (
  NR_SILN      SMALLINT NOT NULL,
  NR_PALIWA    SMALLINT NOT NULL,
  OPL_ZA_TONE  DOUBLE PRECISION NOT NULL,
  ROK          SMALLINT NOT NULL,
  CONSTRAINT PK_TAB_OPL_SILN PRIMARY KEY (NR_SILN, NR_PALIWA, ROK),
  CONSTRAINT FK_OPL_SILNIK FOREIGN KEY (NR_SILN) REFERENCES RODZ_SILNIKA (NR) ON UPDATE CASCADE,
  CONSTRAINT FK_OPL_PALIWO FOREIGN KEY (NR_PALIWA) REFERENCES RODZ_PALIWA (NR) ON UPDATE CASCADE
);

CREATE TABLE PARAM (
  ROK       SMALLINT NOT NULL,
  PLAC_MIN  DOUBLE PRECISION NOT NULL,
  WSK_PROC  NUMERIC(9,2),
  CONSTRAINT PK_PARAM PRIMARY KEY (ROK)
);

CREATE TABLE PODAT (
  NR_PODAT  SMALLINT NOT NULL,
  NAZWA     VARCHAR(125),
  ADRES     VARCHAR(160),
  REGON     VARCHAR(20),
  TEL       VARCHAR(65),
  NIP       VARCHAR(20) NOT NULL,
  NAZSKR    VARCHAR(15) NOT NULL,
  CONSTRAINT PK_PODAT PRIMARY KEY (NR_PODAT),
  /* Settlements, statements and the purchase screen find a taxpayer by its short name:
     two taxpayers of one name would be settled as one. */
  CONSTRAINT UQ_PODAT_NAZSKR UNIQUE (NAZSKR)
);

CREATE TABLE SAM (
  NR_REJ        VARCHAR(10) NOT NULL,
  NR_POD        SMALLINT NOT NULL,
  NR_RODZ_SILN  SMALLINT NOT NULL,
  NR_RODZ_PAL   SMALLINT NOT NULL,
  D_ROZP_U      DATE NOT NULL,
  D_ZAK_U       DATE,
  CONSTRAINT PK_SAM PRIMARY KEY (NR_REJ),
  CONSTRAINT FK_SAM_PODATNIK FOREIGN KEY (NR_POD) REFERENCES PODAT (NR_PODAT) ON UPDATE CASCADE,
  CONSTRAINT FK_SAM_SILNIK FOREIGN KEY (NR_RODZ_SILN) REFERENCES RODZ_SILNIKA (NR) ON UPDATE CASCADE,
  CONSTRAINT FK_SAM_PALIWO FOREIGN KEY (NR_RODZ_PAL) REFERENCES RODZ_PALIWA (NR) ON UPDATE CASCADE
);

CREATE TABLE ZAK_PAL (
  NR_KOL       INTEGER NOT NULL,
  NR_REJ       VARCHAR(10) NOT NULL,
  NR_RACH      VARCHAR(20) NOT NULL,
  D_ZAK        DATE NOT NULL,
  NR_RODZ_PAL  SMALLINT NOT NULL,
  IL_ZAK       DOUBLE PRECISION NOT NULL,
  CONSTRAINT PK_ZAK_PAL PRIMARY KEY (NR_KOL),
  CONSTRAINT FK_ZAK_SAMOCHOD FOREIGN KEY (NR_REJ) REFERENCES SAM (NR_REJ) ON UPDATE CASCADE,
  CONSTRAINT FK_ZAK_PALIWO FOREIGN KEY (NR_RODZ_PAL) REFERENCES RODZ_PALIWA (NR) ON UPDATE CASCADE
);

CREATE INDEX IX_ZAK_PAL_D_ZAK ON ZAK_PAL (D_ZAK);
/* A vehicle's purchases of a period: the settlement, the statements and the purchase screen
   read a taxpayer's purchases vehicle by vehicle through it. */
CREATE INDEX IX_ZAK_PAL_NR_REJ_D_ZAK ON ZAK_PAL (NR_REJ, D_ZAK);

/* Work that two desks must not do at once (one taxpayer's purchase import, taking one account
   over as a taxpayer, loading a rate file): the desk doing it holds a row here, inserted by a
   transaction that never commits, so a second desk's insert of the same row is refused until
   the first desk is done, and a desk that dies lets go of it with its transaction. */
CREATE TABLE BLOKADY (
  RODZAJ  VARCHAR(10) NOT NULL,
  KLUCZ   INTEGER NOT NULL,
  CONSTRAINT PK_BLOKADY PRIMARY KEY (RODZAJ, KLUCZ)
);

/* Who holds which of those locks, committed beside the uncommitted row, with the holder's last
   sign of life (the server's time, renewed while the work runs). A server notices a desk whose
   network was cut only when the system's keepalive gives up, hours later, and keeps its rows of
   BLOKADY until then: a desk that finds a lock held by an attachment silent for long ends that
   attachment, so that the work can be done. */
CREATE TABLE POSIADACZE_BLOKAD (
  RODZAJ      VARCHAR(10) NOT NULL,
  KLUCZ       INTEGER NOT NULL,
  POLACZENIE  INTEGER NOT NULL,
  ZNAK_ZYCIA  DATE NOT NULL,
  CONSTRAINT PK_POSIADACZE_BLOKAD PRIMARY KEY (RODZAJ, KLUCZ)
);

/* The lines of e-invoices (KSeF) taken over as purchases, one row each, so that a line is
   stored once however many files hold its invoice and however often the import runs. The
   key is the seller's NIP (its digits), the invoice number as the invoice gives it (up to 256
   characters, where a purchase keeps only 20) and the line number. A line keeps what it became:
   the purchase (NR_KOL; none for a correction's line whose difference came to nothing), its
   vehicle, date, fuel and litres (negative for a correction's state before), so that a later
   correction finds the vehicle and date of the purchase it corrects. */
CREATE TABLE WIERSZE_EFAKTUR (
  NIP_SPRZED   VARCHAR(20) NOT NULL,
  NR_FAKTURY   VARCHAR(256) NOT NULL,
  NR_WIERSZA   INTEGER NOT NULL,
  NR_PODAT     SMALLINT NOT NULL,
  NR_KOL       INTEGER,
  NR_REJ       VARCHAR(10) NOT NULL,
  D_ZAK        DATE NOT NULL,
  NR_RODZ_PAL  SMALLINT NOT NULL,
  IL_ZAK       DOUBLE PRECISION NOT NULL,
  D_PRZEJ      DATE NOT NULL,
  CONSTRAINT PK_WIERSZE_EFAKTUR PRIMARY KEY (NIP_SPRZED, NR_FAKTURY, NR_WIERSZA)
);

/* One row per purchase: the vehicle and its taxpayer always exist (foreign keys), and the
   fuel and the rate are joined by their whole keys, so neither can repeat a purchase; a
   purchase without a rate for its year gets an empty OPL_ZA_TONE. */
CREATE VIEW ROZL (NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK, NR_RODZ_SILN, NAZSKR, PRZEL_L_KG, OPL_ZA_TONE) AS
SELECT Z.NR_REJ, Z.NR_RACH, Z.D_ZAK, Z.NR_RODZ_PAL, Z.IL_ZAK, S.NR_RODZ_SILN, P.NAZSKR, RP.PRZEL_L_KG, T.OPL_ZA_TONE
FROM ZAK_PAL Z
JOIN SAM S ON S.NR_REJ = Z.NR_REJ
JOIN PODAT P ON P.NR_PODAT = S.NR_POD
LEFT JOIN RODZ_PALIWA RP ON RP.NR = Z.NR_RODZ_PAL
LEFT JOIN TAB_OPL_SILN T ON T.NR_SILN = S.NR_RODZ_SILN
                        AND T.NR_PALIWA = Z.NR_RODZ_PAL
                        AND T.ROK = EXTRACT(YEAR FROM Z.D_ZAK);
