-- The tables of a Quorl Marina database file and the rows that come with it.
-- Declared types carry the Jet meaning the program reads back:
--   COUNTER  autonumber key          LONG      whole number
--   YESNO    -1 true / 0 false       CURRENCY  money, 4 decimals
--   DOUBLE   floating number         DATETIME  text 'YYYY-MM-DD HH:MM:SS', local time
--   TEXT     short text              LONGTEXT  memo (TEXT affinity, so "123" stays text)
-- Text compares without regard to letter case, as Jet does.

PRAGMA foreign_keys = OFF;

CREATE TABLE Customer (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT COLLATE NOCASE,
  HouseName TEXT COLLATE NOCASE,
  Street TEXT COLLATE NOCASE,
  Area TEXT COLLATE NOCASE,
  Town TEXT COLLATE NOCASE,
  PostCode TEXT COLLATE NOCASE,
  TelNo TEXT COLLATE NOCASE,
  MobileNo TEXT COLLATE NOCASE,
  EmailAddress TEXT COLLATE NOCASE,
  Notes LONGTEXT COLLATE NOCASE,
  ClubMember YESNO DEFAULT 0,
  MembershipNo TEXT COLLATE NOCASE
);

CREATE TABLE Owner (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT COLLATE NOCASE,
  HouseName TEXT COLLATE NOCASE,
  Street TEXT COLLATE NOCASE,
  Area TEXT COLLATE NOCASE,
  Town TEXT COLLATE NOCASE,
  PostCode TEXT COLLATE NOCASE,
  MobileNo TEXT COLLATE NOCASE,
  EmailAddress TEXT COLLATE NOCASE,
  Notes LONGTEXT COLLATE NOCASE
);

CREATE TABLE BerthType (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Type TEXT COLLATE NOCASE
);

-- A new berth is active, so that it can be booked at once.
CREATE TABLE Berth (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT COLLATE NOCASE,
  Length DOUBLE,
  Width DOUBLE,
  TypeID LONG,
  OwnerID LONG,
  HasPower YESNO DEFAULT 0,
  Notes LONGTEXT COLLATE NOCASE,
  Active YESNO DEFAULT -1,
  DailyHireCharge CURRENCY,
  WeeklyHireCharge CURRENCY,
  MonthlyHireCharge CURRENCY
);

CREATE TABLE Company (
  CompanyID INTEGER PRIMARY KEY AUTOINCREMENT,
  [Company Name] TEXT COLLATE NOCASE,
  [Trading Name] TEXT COLLATE NOCASE,
  Street TEXT COLLATE NOCASE,
  Area TEXT COLLATE NOCASE,
  Town TEXT COLLATE NOCASE,
  County TEXT COLLATE NOCASE,
  Postcode TEXT COLLATE NOCASE,
  [Telephone No] TEXT COLLATE NOCASE,
  [VAT No] TEXT COLLATE NOCASE,
  [Receipt Footer] TEXT COLLATE NOCASE,
  TermsandConditions LONGTEXT COLLATE NOCASE
);

CREATE TABLE PaymentMethod (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT COLLATE NOCASE
);

CREATE TABLE Booking (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  FromDate DATETIME,
  ToDate DATETIME,
  Created DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')),
  BookedBy TEXT COLLATE NOCASE,
  CustomerID LONG,
  Notes LONGTEXT COLLATE NOCASE,
  NoAdults LONG,
  NoKids LONG,
  OtherCharges CURRENCY,
  VAT CURRENCY,
  TotalPayable CURRENCY,
  AmountPayed CURRENCY,
  PaymentMethodID LONG,
  CreditCardNo TEXT COLLATE NOCASE,
  CreditCardExpiry TEXT COLLATE NOCASE,
  CreditCardType TEXT COLLATE NOCASE,
  CreditCardCV2No TEXT COLLATE NOCASE,
  CostOfHire CURRENCY,
  BerthConfirmationNumber LONG,
  GuestConfirmationNumber TEXT COLLATE NOCASE,
  PowerRequirements TEXT COLLATE NOCASE,
  ClubMember YESNO DEFAULT 0
);
CREATE INDEX BookingPeriod ON Booking (ToDate, FromDate);
CREATE INDEX BookingCustomer ON Booking (CustomerID);

CREATE TABLE BookingBerth (
  BookingID LONG NOT NULL,
  BerthID LONG NOT NULL,
  PRIMARY KEY (BookingID, BerthID)
);

-- The scratch copy of the booking last opened in the summary; its ID is the booking's, not an autonumber.
CREATE TABLE InvTemp (
  CostOfHire CURRENCY,
  OtherCharges CURRENCY,
  VAT CURRENCY,
  TotalPayable CURRENCY,
  AmountPayed CURRENCY,
  ID LONG,
  FromDate DATETIME,
  ToDate DATETIME,
  BookedBy TEXT COLLATE NOCASE,
  CustomerID LONG,
  PaymentMethodID LONG,
  BerthConfirmationNumber LONG,
  ClubMember YESNO DEFAULT 0,
  CompanyID LONG DEFAULT 1,
  GuestConfirmationNumber TEXT COLLATE NOCASE,
  Notes LONGTEXT COLLATE NOCASE
);

CREATE TABLE Settings (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  WebBookingEmail TEXT COLLATE NOCASE,
  WebBookingProviderIndex LONG DEFAULT 0,
  WebBookingProviderCustom TEXT COLLATE NOCASE
);

-- Yes/No columns hold -1 or 0 whatever non-zero value a statement writes (some texts write 1).
CREATE TRIGGER CustomerClubMemberInsert AFTER INSERT ON Customer WHEN NEW.ClubMember NOT IN (0, -1)
BEGIN UPDATE Customer SET ClubMember = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER CustomerClubMemberUpdate AFTER UPDATE OF ClubMember ON Customer WHEN NEW.ClubMember NOT IN (0, -1)
BEGIN UPDATE Customer SET ClubMember = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER BerthHasPowerInsert AFTER INSERT ON Berth WHEN NEW.HasPower NOT IN (0, -1)
BEGIN UPDATE Berth SET HasPower = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER BerthHasPowerUpdate AFTER UPDATE OF HasPower ON Berth WHEN NEW.HasPower NOT IN (0, -1)
BEGIN UPDATE Berth SET HasPower = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER BerthActiveInsert AFTER INSERT ON Berth WHEN NEW.Active NOT IN (0, -1)
BEGIN UPDATE Berth SET Active = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER BerthActiveUpdate AFTER UPDATE OF Active ON Berth WHEN NEW.Active NOT IN (0, -1)
BEGIN UPDATE Berth SET Active = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER BookingClubMemberInsert AFTER INSERT ON Booking WHEN NEW.ClubMember NOT IN (0, -1)
BEGIN UPDATE Booking SET ClubMember = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER BookingClubMemberUpdate AFTER UPDATE OF ClubMember ON Booking WHEN NEW.ClubMember NOT IN (0, -1)
BEGIN UPDATE Booking SET ClubMember = -1 WHERE ID = NEW.ID; END;
CREATE TRIGGER InvTempClubMemberInsert AFTER INSERT ON InvTemp WHEN NEW.ClubMember NOT IN (0, -1)
BEGIN UPDATE InvTemp SET ClubMember = -1 WHERE rowid = NEW.rowid; END;
CREATE TRIGGER InvTempClubMemberUpdate AFTER UPDATE OF ClubMember ON InvTemp WHEN NEW.ClubMember NOT IN (0, -1)
BEGIN UPDATE InvTemp SET ClubMember = -1 WHERE rowid = NEW.rowid; END;

-- The rows that come with the file.
INSERT INTO BerthType (Type) VALUES ('Pontoon'), ('Walk-ashore'), ('Swinging mooring'), ('Dry stack');
INSERT INTO PaymentMethod (Name) VALUES ('Cash'), ('Cheque'), ('Credit Card'), ('Debit Card'), ('Bank Transfer');
INSERT INTO Settings (WebBookingEmail, WebBookingProviderIndex, WebBookingProviderCustom) VALUES ('', 0, '');
INSERT INTO Company (CompanyID, [Company Name], [Trading Name], Street, Area, Town, County, Postcode,
                     [Telephone No], [VAT No], [Receipt Footer], TermsandConditions)
VALUES (1, 'Your Marina Ltd', 'Your Marina', '', '', '', '', '', '', '', 'Thank you for berthing with us.', '');
