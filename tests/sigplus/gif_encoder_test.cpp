// The GIF encoder against giflib's: the same bytes for the same picture,
// and pictures that giflib and Pillow both decode back to the same indices.
#include "gif_encoder.h"

#include "GifPixels.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

struct Picture {
    std::string name;
    int width;
    int height;
    int bits;
    std::vector<std::uint8_t> indices;  // width * height, no padding
};

std::vector<std::uint8_t> paletteOf(int bits) {
    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 1 << bits; ++i) {
        for (int c = 0; c < 3; ++c) palette.push_back(static_cast<std::uint8_t>((i * 37 + c * 11) & 0xFF));
    }
    return palette;
}

// White with a few dark runs, as a signature is; noise that fills the
// string table several times over; long white runs between noisy rows,
// which fill it too; every palette size; one pixel.
std::vector<Picture> pictures() {
    std::mt19937 random(7);
    std::vector<Picture> all;
    Picture sparse{"sparse", 215, 70, 3, std::vector<std::uint8_t>(215 * 70, 0)};
    for (int i = 0; i < 400; ++i) sparse.indices[random() % sparse.indices.size()] = static_cast<std::uint8_t>(random() % 8);
    all.push_back(sparse);
    for (int bits = 1; bits <= 8; ++bits) {
        Picture noise{"noise" + std::to_string(bits), 300, 211, bits, {}};
        for (int i = 0; i < noise.width * noise.height; ++i) {
            noise.indices.push_back(static_cast<std::uint8_t>(random() % (1u << bits)));
        }
        all.push_back(noise);
    }
    Picture banded{"banded", 300, 211, 3, std::vector<std::uint8_t>(300 * 211, 0)};
    for (int y = 0; y < banded.height; y += 3) {
        for (int x = 0; x < banded.width; ++x) banded.indices[static_cast<std::size_t>(y * 300 + x)] = static_cast<std::uint8_t>(random() % 8);
    }
    all.push_back(banded);
    all.push_back({"single", 1, 1, 3, {5}});
    return all;
}

std::vector<std::uint8_t> ours(const Picture& p, std::size_t padding = 0) {
    // Rows are given with a stride, as the canvas keeps them.
    std::vector<std::uint8_t> padded;
    const std::size_t stride = static_cast<std::size_t>(p.width) + padding;
    for (int y = 0; y < p.height; ++y) {
        padded.insert(padded.end(), p.indices.begin() + y * p.width, p.indices.begin() + (y + 1) * p.width);
        padded.insert(padded.end(), padding, 0xEE);
    }
    const std::vector<std::uint8_t> palette = paletteOf(p.bits);
    sigplus::GifPicture picture{p.width, p.height, padded.data(), stride, palette, p.bits};
    return sigplus::encodeGif(picture);
}

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::vector<std::uint8_t> giflibs(const Picture& p) {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    const std::vector<std::uint8_t> palette = paletteOf(p.bits);
    ColorMapObject* map = GifMakeMapObject(1 << p.bits, reinterpret_cast<const GifColorType*>(palette.data()));
    std::vector<GifByteType> pixels(p.indices.begin(), p.indices.end());
    const bool ok = EGifPutScreenDesc(gif, p.width, p.height, p.bits, 0, map) == GIF_OK &&
                    EGifPutImageDesc(gif, 0, 0, p.width, p.height, false, nullptr) == GIF_OK &&
                    EGifPutLine(gif, pixels.data(), p.width * p.height) == GIF_OK;
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    EXPECT_TRUE(ok);
    return out;
}

std::vector<std::uint8_t> decodedByGiflib(const std::vector<std::uint8_t>& bytes) {
    return decodeGif(bytes).indices;
}

TEST(GifEncoder, WritesGiflibsBytesForEveryPaletteSizeAndAFullTable) {
    for (const Picture& p : pictures()) {
        SCOPED_TRACE(p.name);
        const std::vector<std::uint8_t> bytes = ours(p, 13);
        EXPECT_EQ(bytes, giflibs(p));
        EXPECT_EQ(decodedByGiflib(bytes), p.indices);
        // The string table is left empty for the next picture.
        EXPECT_EQ(ours(p), bytes);
    }
}

TEST(GifEncoder, PillowReadsBackWhatWasEncoded) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zera-gif-encoder-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::vector<Picture> all = pictures();
    for (const Picture& p : all) {
        const std::vector<std::uint8_t> bytes = ours(p);
        std::ofstream(folder / (p.name + ".gif"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::ofstream(folder / (p.name + ".raw"), std::ios::binary)
            .write(reinterpret_cast<const char*>(p.indices.data()), static_cast<std::streamsize>(p.indices.size()));
    }
    // Exits 0 when every GIF decodes to its raw indices, else names them.
    const std::string script =
        "import glob, sys\n"
        "from PIL import Image\n"
        "bad = []\n"
        "for gif in sorted(glob.glob(sys.argv[1] + '/*.gif')):\n"
        "    image = Image.open(gif)\n"
        "    image.load()\n"
        "    if image.mode != 'P' or image.tobytes() != open(gif[:-3] + 'raw', 'rb').read():\n"
        "        bad.append(gif)\n"
        "print(' '.join(bad))\n"
        "sys.exit(1 if bad else 0)\n";
    std::ofstream(folder / "check.py") << script;
    const std::string command = "/usr/bin/python3 '" + (folder / "check.py").string() + "' '" + folder.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::filesystem::remove_all(folder);
}

TEST(GifEncoder, RefusesWhatIsNoPicture) {
    const std::vector<std::uint8_t> palette = paletteOf(3);
    const std::uint8_t pixel = 0;
    EXPECT_THROW(sigplus::encodeGif({0, 1, &pixel, 1, palette, 3}), std::invalid_argument);
    EXPECT_THROW(sigplus::encodeGif({1, 1, &pixel, 1, palette, 2}), std::invalid_argument) << "palette of other size";
    EXPECT_THROW(sigplus::encodeGif({2, 1, &pixel, 1, palette, 3}), std::invalid_argument) << "stride below width";
}

}  // namespace
