// sigmake: makes a signature string from recorded strokes.
//
//   sigmake [--bind TEXT]... [--packing N] [--cipher N] [--gif FILE]
//           [--pen-width N] [STROKES-FILE]
//
// The strokes file has one stroke per line, its points as "x,y" separated
// by spaces, in the pad's coordinates; blank lines and lines starting with
// '#' are skipped. Without a file the strokes are read from standard input.
// The string is written to standard output; it opens with the same bound
// texts (in the same order) under the same PackingMode and CipherMode. The
// defaults are those of the plug-in: PackingMode 0, CipherMode 2. --gif also
// writes the image the control renders from the string at 215 x 70.
#include "sigplus/render.h"
#include "sigplus/signature_codec.h"

#include <platform/utf.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int usage() {
    std::cerr << "usage: sigmake [--bind TEXT]... [--packing N] [--cipher N] [--gif FILE] [--pen-width N] "
                 "[STROKES-FILE]\n";
    return 2;
}

bool parseShort(std::string_view text, std::int16_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool parsePoint(std::string_view token, sigplus::Point& point) {
    const std::size_t comma = token.find(',');
    return comma != std::string_view::npos && parseShort(token.substr(0, comma), point.x) &&
           parseShort(token.substr(comma + 1), point.y);
}

bool readStrokes(std::istream& in, sigplus::Ink& ink, std::string& error) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream tokens(line);
        std::string token;
        sigplus::Stroke stroke;
        while (tokens >> token) {
            if (stroke.empty() && token[0] == '#') break;
            sigplus::Point point;
            if (!parsePoint(token, point)) {
                error = "line " + std::to_string(number) + ": \"" + token + "\" is not a point x,y";
                return false;
            }
            stroke.push_back(point);
        }
        if (!stroke.empty()) ink.push_back(std::move(stroke));
    }
    if (sigplus::pointCount(ink) > sigplus::kMaxInkPoints) {
        error = "more than " + std::to_string(sigplus::kMaxInkPoints) + " points";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    sigplus::BoundTexts bound;
    sigplus::SignatureModes modes{0, 2};
    std::string gifPath;
    std::string strokesPath;
    std::int16_t penWidth = 15;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bind" && hasValue) {
            bound.push_back(platform::utf8ToUtf16(argv[++i]));
        } else if (arg == "--packing" && hasValue) {
            if (!parseShort(argv[++i], modes.packing)) return usage();
        } else if (arg == "--cipher" && hasValue) {
            if (!parseShort(argv[++i], modes.cipher)) return usage();
        } else if (arg == "--pen-width" && hasValue) {
            if (!parseShort(argv[++i], penWidth)) return usage();
        } else if (arg == "--gif" && hasValue) {
            gifPath = argv[++i];
        } else if (arg.starts_with("--") || !strokesPath.empty()) {
            return usage();
        } else {
            strokesPath = arg;
        }
    }

    sigplus::Ink ink;
    std::string error;
    bool read = false;
    if (strokesPath.empty() || strokesPath == "-") {
        read = readStrokes(std::cin, ink, error);
    } else {
        std::ifstream file(strokesPath);
        if (!file) {
            std::cerr << "sigmake: cannot open " << strokesPath << ": " << std::strerror(errno) << "\n";
            return 1;
        }
        read = readStrokes(file, ink, error);
    }
    if (!read) {
        std::cerr << "sigmake: " << (strokesPath.empty() ? "stdin" : strokesPath) << ": " << error << "\n";
        return 1;
    }
    if (ink.empty()) {
        std::cerr << "sigmake: no strokes\n";
        return 1;
    }

    const std::string signature = sigplus::encodeSignature(ink, bound, modes);
    std::cout << signature << "\n";

    if (!gifPath.empty()) {
        // The image is made from the string, as the control makes it.
        const auto loaded = sigplus::decodeSignature(signature, bound, modes);
        sigplus::RenderSettings settings;
        settings.penWidth = penWidth;
        const auto gif = sigplus::renderGif(loaded.value_or(sigplus::Ink{}), settings);
        std::ofstream out(gifPath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
        if (!out) {
            std::cerr << "sigmake: cannot write " << gifPath << "\n";
            return 1;
        }
    }
    return 0;
}
