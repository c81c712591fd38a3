// Three GIF encoders on the same signature image (the bundled signature as
// the control draws it at 215 x 70): giflib, Debian's libcgif, and the
// control's own. Each must decode back (with giflib) to the image before it
// is timed; the output size of each is printed beside its time.
#include "gif_encoder.h"

#include "GifPixels.h"

#include <benchmark/benchmark.h>
#include <cgif.h>
#include <gif_lib.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kBits = 3;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
    std::vector<std::uint8_t> palette;  // 8 RGB triples
};

Image decode(const std::vector<std::uint8_t>& bytes) {
    const DecodedGif gif = decodeGif(bytes);
    Image image{gif.width, gif.height, gif.indices, {}};
    for (const GifColorType& c : gif.colours) image.palette.insert(image.palette.end(), {c.Red, c.Green, c.Blue});
    return image;
}

const Image& signature() {
    static const Image image = [] {
        std::ifstream in(ZERA_REFERENCE_GIF, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        Image decoded = decode(bytes);
        if (decoded.indices.empty() || decoded.palette.size() != 3u << kBits) throw std::runtime_error("no image");
        return decoded;
    }();
    return image;
}

int appendGiflib(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::vector<std::uint8_t> withGiflib(const Image& image) {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGiflib, &error);
    ColorMapObject* map = GifMakeMapObject(1 << kBits, reinterpret_cast<const GifColorType*>(image.palette.data()));
    std::vector<GifByteType> pixels(image.indices);
    EGifPutScreenDesc(gif, image.width, image.height, kBits, 0, map);
    EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr);
    EGifPutLine(gif, pixels.data(), image.width * image.height);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

int appendCgif(void* context, const std::uint8_t* data, const std::size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    out->insert(out->end(), data, data + length);
    return 0;
}

std::vector<std::uint8_t> withCgif(const Image& image) {
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> palette(image.palette);
    std::vector<std::uint8_t> pixels(image.indices);
    CGIF_Config config{};
    config.pGlobalPalette = palette.data();
    config.width = static_cast<std::uint16_t>(image.width);
    config.height = static_cast<std::uint16_t>(image.height);
    config.numGlobalPaletteEntries = 1 << kBits;
    config.pWriteFn = appendCgif;
    config.pContext = &out;
    CGIF* gif = cgif_newgif(&config);
    CGIF_FrameConfig frame{};
    frame.pImageData = pixels.data();
    cgif_addframe(gif, &frame);
    cgif_close(gif);
    return out;
}

std::vector<std::uint8_t> withOurs(const Image& image) {
    return sigplus::encodeGif(
        {image.width, image.height, image.indices.data(), static_cast<std::size_t>(image.width), image.palette, kBits});
}

template <std::vector<std::uint8_t> (*Encode)(const Image&)>
void Encoder(benchmark::State& state) {
    const Image& image = signature();
    std::vector<std::uint8_t> bytes = Encode(image);
    if (decode(bytes).indices != image.indices) {
        state.SkipWithError("the GIF does not decode back to the image");
        return;
    }
    for (auto _ : state) {
        bytes = Encode(image);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["gif_bytes"] = static_cast<double>(bytes.size());
}

BENCHMARK(Encoder<withGiflib>)->Name("giflib")->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(Encoder<withCgif>)->Name("libcgif")->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(Encoder<withOurs>)->Name("own_lzw")->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
