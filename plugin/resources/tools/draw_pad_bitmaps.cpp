// Draws the pad-screen bitmaps of the module's resources and writes them as
// .bmp files into the given folder (plugin/resources/bitmaps). The files are
// kept in the source tree; run this again after changing the drawings.
//
//   draw_pad_bitmaps FOLDER
#include "pad_bitmaps.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: draw_pad_bitmaps FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        for (const auto& bitmap : padbitmaps::drawPadBitmaps()) {
            const auto bytes = padbitmaps::encodeBmp(bitmap.raster, bitmap.depth);
            const auto path = folder / bitmap.fileName;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                std::cerr << "draw_pad_bitmaps: cannot write " << path.string() << "\n";
                return 1;
            }
            std::cout << path.string() << " (" << bitmap.raster.width << " x " << bitmap.raster.height << ")\n";
        }
    } catch (const std::exception& error) {
        std::cerr << "draw_pad_bitmaps: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
