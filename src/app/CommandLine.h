// Counts command-line arguments as the platform does: blanks and control characters
// separate them, double quotes group blanks and are dropped, and an argument that
// ends up empty (a lone pair of quotes) is no argument.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> SplitCommandLine(const char* commandLine);
// The arguments after the program name.
int ArgumentCount(const char* commandLine);
