#pragma once

class Tdm_1;

// Connects the data module to the database of the location file. Where there is no database
// (a first start, or a local file that is gone), the user is offered one (offerDatabase). A
// failure is shown in the standard error box, once, and start-up goes on without a
// connection, so that the user can still reach the program and put the location right. True
// when connected.
bool connectDataModule(Tdm_1& dm);
