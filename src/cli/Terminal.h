#pragma once

#include <cstdio>

// Whether stream writes to a terminal that a person watches, rather than to a
// file or a pipe.
bool isTerminal(std::FILE* stream);
