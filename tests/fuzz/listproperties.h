#pragma once

#include <cstddef>
#include <string>

// What must hold for any bytes loaded as a list file, as the editing page loads them:
//  - the load succeeds exactly when the text is a JSON array;
//  - a failed load leaves the rows and the written text as they were and says why;
//  - after a load that works there is one row per object of the array, every row and
//    role can be read, the written text is a JSON array of as many objects, and loading
//    it again writes the same text.
// Gives an empty string when all of it holds, else what did not.
std::string checkListProperties(const char *data, std::size_t size);
