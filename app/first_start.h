#pragma once

#include <QString>

class QWidget;
class Tdm_1;

// When there is no database where the program looks (no location file and no database beside
// the program, or a local database named in the location file that is not there, given in
// `missing`), the user chooses: a new database with the delivered reference data in the
// user's data folder, an existing database file, or a database on a server (the location
// dialog). The new database's or file's name goes into the location file of the user's
// configuration folder. True when the data module is connected afterwards.
bool offerDatabase(Tdm_1& dm, const QString& missing, QWidget* parent = nullptr);

// Where a new database of the user's goes: brenvald.gdb in the user's data folder, or
// brenvald-2.gdb, … when that name is taken (an existing database is never overwritten).
QString newDatabasePath();
