// What an unknown function name may have meant: the known name closest to
// it, for a "did you mean" beside the error.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fmhost {

// The known name nearest to `unknown`, ignoring the case of ASCII letters,
// when it lies within a few edits (a third of the name's length, at most
// three; a swap of two neighbouring letters is one edit); nothing otherwise.
// Of two names equally near, the first in `known` wins.
std::optional<std::string> closestName(std::string_view unknown, const std::vector<std::string>& known);

}  // namespace fmhost
