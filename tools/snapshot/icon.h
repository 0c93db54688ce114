// Application icons cut from a program's picture.
#pragma once

#include <string>

// Writes a size x size PNG of the square around everything drawn on the
// visual page of the last headless run, on black; false on failure.
bool write_icon(const std::string& path, int size);
