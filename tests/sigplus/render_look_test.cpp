// The rendered image keeps its look: each case is compared with a reference
// GIF rendered before the drawing or the encoding was last reworked. A pixel
// may move by one grey level (edge shading rounds a little differently), no
// more, not many of them may, and not mostly the same way. Run with ZERA_WRITE_RENDER_REFERENCES=1 to
// write the references again, only after a change meant to alter the look.
#include "sigplus/render.h"

#include "GifPixels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using sigplus::Ink;
using sigplus::Point;
using sigplus::RenderSettings;
using sigplus::Stroke;

const std::string kReferenceDir = ZERA_SOURCE_DIR "/tests/data/render/";

Ink exampleInk() {
    std::ifstream in(ZERA_SOURCE_DIR "/examples/signature.strokes");
    Ink ink;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream points(line);
        Stroke stroke;
        int x = 0;
        int y = 0;
        char comma = 0;
        while (points >> x >> comma >> y) stroke.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
        if (!stroke.empty()) ink.push_back(stroke);
    }
    return ink;
}

// Dots, a steep and a shallow line, and a line with a sharp turn.
Ink shapesInk() {
    return {{{100, 100}},
            {{400, 80}},
            {{150, 50}, {170, 600}},
            {{200, 400}, {1800, 430}},
            {{600, 150}, {1200, 600}, {1250, 140}}};
}

struct Case {
    const char* name;
    Ink ink;
    RenderSettings settings;
};

std::vector<Case> cases() {
    const Ink example = exampleInk();
    return {
        {"example-pen15", example, {}},
        {"example-pen1", example, {215, 70, 1}},
        {"example-pen60", example, {215, 70, 60}},
        {"example-large", example, {640, 210, 15}},
        {"example-spanned", example, {215, 70, 15, 1, 2000, 700}},
        {"shapes-pen15", shapesInk(), {}},
        {"shapes-pen7-odd-size", shapesInk(), {333, 101, 7}},
    };
}

struct Greys {
    int width = 0;
    int height = 0;
    std::vector<int> grey;
};

Greys decodeGreys(const std::vector<std::uint8_t>& bytes) {
    const DecodedGif gif = decodeGif(bytes);
    const std::vector<std::uint8_t> grey = greysOf(gif);
    return {gif.width, gif.height, {grey.begin(), grey.end()}};
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One level of the eight-level grey palette.
constexpr int kOneLevel = 255 / 7 + 1;

TEST(RenderLook, EveryCaseLooksAsItsReference) {
    const bool writing = std::getenv("ZERA_WRITE_RENDER_REFERENCES") != nullptr;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const std::string path = kReferenceDir + c.name + ".gif";
        const std::vector<std::uint8_t> rendered = sigplus::renderGif(c.ink, c.settings);
        if (writing) {
            std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(rendered.data()),
                                                        static_cast<std::streamsize>(rendered.size()));
        }
        const Greys reference = decodeGreys(readFile(path));
        const Greys now = decodeGreys(rendered);
        ASSERT_GT(reference.grey.size(), 0u) << "no reference " << path;
        ASSERT_EQ(now.width, reference.width);
        ASSERT_EQ(now.height, reference.height);
        ASSERT_EQ(now.grey.size(), reference.grey.size());
        std::size_t moved = 0;
        long balance = 0;
        std::size_t inked = 0;
        for (std::size_t i = 0; i < now.grey.size(); ++i) {
            const int difference = std::abs(now.grey[i] - reference.grey[i]);
            ASSERT_LE(difference, kOneLevel) << "pixel " << i % static_cast<std::size_t>(now.width) << ","
                                             << i / static_cast<std::size_t>(now.width);
            moved += difference != 0 ? 1u : 0u;
            balance += now.grey[i] - reference.grey[i];
            inked += reference.grey[i] != 255 ? 1u : 0u;
        }
        // Rounding at the edges only: most inked pixels keep their level.
        EXPECT_LE(moved * 10, inked) << moved << " of " << inked << " inked pixels changed";
        // And as many lighter as darker: no shift of the whole image.
        EXPECT_LE(std::abs(balance / kOneLevel) * 50, static_cast<long>(inked)) << "net shift " << balance;
    }
}

}  // namespace
