#pragma once

// Prints how long listing 5,000 copies of a unit's texts takes, for tarvo-cli
// and for the window "Copie dell'unità".
void benchCopyList();
