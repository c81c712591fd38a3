#include "sigplus/ink.h"

namespace sigplus {

std::size_t pointCount(const Ink& ink) {
    std::size_t total = 0;
    for (const Stroke& stroke : ink) total += stroke.size();
    return total;
}

}  // namespace sigplus
