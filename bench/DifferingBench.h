#pragma once

// Prints how long writing only the differing texts takes against a full
// programming run, at 9600 baud: with 8 of 512 texts differing on the unit,
// and with all 512 differing.
void benchDifferingTexts();
