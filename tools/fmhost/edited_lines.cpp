#include "edited_lines.h"

#include <editline/readline.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace fmhost {
namespace {

class EditedLines final : public LineSource {
public:
    std::optional<std::string> read(bool continuing) override {
        char* line = readline(continuing ? kContinuationPrompt : kPrompt);
        if (line == nullptr) {
            std::cout << '\n' << std::flush;
            return std::nullopt;
        }
        std::string text(line);
        std::free(line);
        if (!text.empty()) add_history(text.c_str());
        return text;
    }
};

}  // namespace

std::unique_ptr<LineSource> terminalLines() { return std::make_unique<EditedLines>(); }

bool standardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

}  // namespace fmhost
