#pragma once

class Tdm_1;

// Connects the data module to the database of the location file. A failure is shown in the
// standard error box, once, and start-up goes on without a connection, so that the user can
// still reach the program and put the location right. True when connected. The program's
// termination signal handlers are put back afterwards (the database client replaces them).
bool connectDataModule(Tdm_1& dm);
