#pragma once

class QWidget;
class Tdm_1;

// "Parametry → Kopia zapasowa bazy danych…": the open database copied into a backup file
// offered as "<baza>_<rrrr-mm-dd>.fbk" in the folder of the last backup, or the user's
// documents (for a database on a server, a file beside it on the server, by its full path),
// with the engine's progress shown as it works. The copy is the user's alone.
void makeBackup(Tdm_1& dm, QWidget* parent);

// "Parametry → Odtworzenie bazy z kopii…": a backup file made into a new database (never over
// an existing one, nor the open one; a cut or damaged backup makes none), then the program is
// offered to switch to it.
void restoreBackup(Tdm_1& dm, QWidget* parent);
