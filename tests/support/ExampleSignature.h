// The stored signature the project bundles (examples/signature.txt), bound
// to "Order 1042", as a script passes it. The test names the file with
// ZERA_EXAMPLE_SIGNATURE.
#pragma once

#include <fstream>
#include <string>

inline std::u16string exampleSignature() {
    std::ifstream in(ZERA_EXAMPLE_SIGNATURE);
    std::string line;
    std::getline(in, line);
    return std::u16string(line.begin(), line.end());  // a signature string is ASCII
}
