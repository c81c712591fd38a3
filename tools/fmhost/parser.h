// Parses a calculation script written in FileMaker's notation.
//
//   script     := { statement? line-end }
//   statement  := variable "=" expression | expression
//   expression := unary { "&" unary }
//   unary      := "-" unary | primary
//   primary    := text | number | variable | "¶" | "(" expression ")"
//               | name [ "(" [ expression { ";" expression } ] ")" ]
//
// The whole input is parsed, every syntax error is collected (one per
// statement, since the rest of a broken statement says nothing reliable), and
// a script with any error is meant not to run at all.
#pragma once

#include "ast.h"

#include <string_view>

namespace fmhost {

// Deeper nesting than this is refused, so that neither parsing nor
// evaluating a hostile script can exhaust the stack.
inline constexpr int kMaxNesting = 200;

ParsedScript parseScript(std::string_view source, int firstLine = 1);

// True when `source` ends inside open parentheses without any error so far:
// the statement goes on, and a prompt reads another line before parsing.
bool needsMoreInput(std::string_view source);

}  // namespace fmhost
