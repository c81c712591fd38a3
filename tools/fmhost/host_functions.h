// Functions the host itself offers to calculations, beside the plug-in's.
//
// Export( container ; path {; streamType} ) writes one stream of a container
// value to a file and gives the number of bytes written: the stream of the
// given type, or without a type the "GIFf" stream if there is one and the
// first stream otherwise.
#pragma once

#include "FMWrapper/HostSide.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fmhost {

// A host function's own failure; the message does not repeat its name.
class HostFunctionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct HostFunction {
    std::string_view name;
    std::string_view prototype;
    int minArgs;
    int maxArgs;
    fmw::Value (*run)(const std::vector<fmw::Value>& arguments);
};

std::span<const HostFunction> hostFunctions();
// Looks a host function up by name, ignoring the case of ASCII letters.
const HostFunction* findHostFunction(std::string_view name);

}  // namespace fmhost
