// How fmhost shows values, the plug-in's banner and diagnostics.
#pragma once

#include "ast.h"

#include "FMWrapper/HostSide.h"

#include <string>
#include <string_view>
#include <vector>

namespace fmhost {

// One value on one line (or several, when a text holds carriage returns,
// which FileMaker uses as its line break): texts as UTF-8, numbers in the
// host's form, containers described, empty values as nothing.
std::string formatValue(const fmw::Value& value);

struct PluginStrings {
    std::u16string name;
    std::u16string description;
    std::u16string options;
};

// The plug-in's strings, its registered functions with their parameter
// ranges, and the host's own functions.
std::string formatBanner(const PluginStrings& strings, const std::vector<fmw::FunctionEntry>& functions);

// A calculation as FileMaker writes it, one line whatever its spacing was:
// `ZERA_SetTabletMode( 6 )`, `"a" & $b`, texts quoted with their escapes.
std::string formatCalculation(const Expr& expr);

// "source:line:column: error: message"
std::string formatDiagnostic(std::string_view source, const Diagnostic& diagnostic);

}  // namespace fmhost
