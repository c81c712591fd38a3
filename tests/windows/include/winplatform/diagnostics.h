// What the plug-in's tests read of the platform's state, measured on Win32:
// the test programs count the module's own calls to the system through its
// import table (see import_counters.cpp), as the Linux platform library
// counts them itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace winplatform {

// File handles the module made with CreateFileW and has not closed.
std::size_t openFileCount();

struct ActivationStats {
    std::uint64_t activations = 0;
    std::uint64_t deactivations = 0;
    std::size_t depth = 0;  // the module's contexts active now
};
ActivationStats activationStats();

// The module's COM initialisations not yet undone.
std::size_t comInitCount();

// The texts of the module's message boxes so far; none is shown.
std::vector<std::u16string> messageBoxes();
void clearMessageBoxes();

}  // namespace winplatform
