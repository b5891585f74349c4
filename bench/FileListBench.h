#pragma once

// Prints how long the file list takes to show a folder of 20,000 message
// files among 40,000 entries, and to show a file created behind its back.
void benchFileList();
