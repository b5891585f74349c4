#pragma once

// Prints how long the message editor takes to open a file of 512 message
// lines and to answer each key typed into a text of 10,000 lines.
void benchEditor();
