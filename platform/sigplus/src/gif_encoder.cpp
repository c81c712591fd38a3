#include "gif_encoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sigplus {
namespace {

constexpr int kMaxCode = 4095;  // the last code of a 12-bit table

void putWord(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Codes packed from the low bit up, gathered whole and cut into data
// sub-blocks of up to 255 bytes at the end: the packing then stores four
// bytes at a time and never counts a block.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& packed) : packed_(packed) {}

    void put(int code, int bits) {
        bitBuffer_ |= static_cast<std::uint64_t>(code) << bitCount_;
        bitCount_ += bits;
        if (bitCount_ >= 32) {
            store(4);
            bitBuffer_ >>= 32;
            bitCount_ -= 32;
        }
    }
    // The last bits, the blocks, and the empty block that ends the data.
    void finish(std::vector<std::uint8_t>& out) {
        store(4);
        used_ -= 4 - static_cast<std::size_t>((bitCount_ + 7) / 8);
        for (std::size_t at = 0; at < used_; at += kBlockSize) {
            const std::size_t size = std::min(kBlockSize, used_ - at);
            out.push_back(static_cast<std::uint8_t>(size));
            out.insert(out.end(), packed_.begin() + static_cast<std::ptrdiff_t>(at),
                       packed_.begin() + static_cast<std::ptrdiff_t>(at + size));
        }
        out.push_back(0);
    }

private:
    void store(std::size_t count) {  // the buffer's low four bytes; `count` of them kept
        if (packed_.size() < used_ + count) packed_.resize(std::max<std::size_t>(1024, 2 * packed_.size()));
        std::uint8_t* to = packed_.data() + used_;
        if constexpr (std::endian::native == std::endian::little) {
            const auto word = static_cast<std::uint32_t>(bitBuffer_);
            std::memcpy(to, &word, sizeof word);
        } else {
            for (std::size_t i = 0; i < 4; ++i) to[i] = static_cast<std::uint8_t>(bitBuffer_ >> (8 * i));
        }
        used_ += count;
    }

    static constexpr std::size_t kBlockSize = 255;
    std::vector<std::uint8_t>& packed_;
    std::uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
    std::size_t used_ = 0;
};

// The LZW string table: for each code, its extension by each pixel value
// (0 for none; no string's code is ever 0). Kept per thread and emptied
// string by string, so an image costs only the strings it makes.
struct TableStorage {
    std::vector<std::uint16_t> next;
    std::vector<std::uint8_t> packed;  // the codes' bytes before blocking
    std::array<std::uint32_t, kMaxCode + 1> made{};
};

// Not inlined: thread storage is reached once per image, not per string.
[[gnu::noinline]] TableStorage& tableOfThisThread() {
    thread_local TableStorage storage;
    return storage;
}

// The compressor, as giflib's: a clear code first; a string's code when
// the next pixel ends the longest string known; the code width raised
// after a code is written once the next code no longer fits; a clear code
// and a new table when the table is full. The table is left empty however
// the encoding ends.
class Compressor {
public:
    Compressor(int codeBits, CodeWriter& writer)
        : writer_(writer),
          codeBits_(codeBits),
          clearCode_(1 << codeBits),
          firstCode_(clearCode_ + 2),
          nextCode_(firstCode_),
          bits_(codeBits + 1),
          widthLimit_(1 << bits_) {
        TableStorage& storage = tableOfThisThread();
        const std::size_t size = static_cast<std::size_t>(kMaxCode + 1) << codeBits;
        if (storage.next.size() < size) storage.next.assign(size, 0);
        next_ = storage.next.data();
        made_ = storage.made.data();
        zeroCode_[1] = 0;
    }
    ~Compressor() { clearTable(); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    void run(const GifPicture& picture) {
        // The code width as a constant of the loop: a shift by a constant.
        switch (codeBits_) {
        case 2: run<2>(picture); break;
        case 3: run<3>(picture); break;
        case 4: run<4>(picture); break;
        case 5: run<5>(picture); break;
        case 6: run<6>(picture); break;
        case 7: run<7>(picture); break;
        default: run<8>(picture); break;
        }
    }

private:
    template <int Shift>
    void run(const GifPicture& picture) {
        output(clearCode_);
        const std::uint16_t* next = next_;
        const int width = picture.width;
        // The current string's row of the table (its code shifted by
        // codeBits): a pixel's slot is one OR away. While it is a string of
        // only index 0 (white, most of a signature), `zeros` is its length
        // and whole runs of 0 are taken at once.
        std::size_t current = static_cast<std::size_t>(picture.pixels[0]) << Shift;
        int zeros = picture.pixels[0] == 0 ? 1 : 0;
        int x = 1;
        for (int y = 0; y < picture.height; ++y, x = 0) {
            const std::uint8_t* row = picture.pixels + static_cast<std::size_t>(y) * picture.stride;
            while (x < width) {
                if (zeros > 0) {
                    const int run = zeroRun(row, x, width);
                    x += run;
                    zeros = takeZeros(zeros, run);
                    current = static_cast<std::size_t>(zeroCode_[static_cast<std::size_t>(zeros)]) << Shift;
                    if (x == width) break;
                    zeros = 0;  // row[x] is not 0
                }
                // Pixel by pixel until the row ends or a string ends with 0
                // next.
                while (x < width) {
                    const std::size_t pixel = row[x++];
                    const std::size_t slot = current | pixel;
                    const std::uint16_t longer = next[slot];
                    if (longer != 0) {
                        current = static_cast<std::size_t>(longer) << Shift;
                        continue;
                    }
                    endString(current >> Shift, slot);
                    current = pixel << Shift;
                    if (pixel == 0) {
                        zeros = 1;
                        break;
                    }
                }
            }
        }
        output(static_cast<int>(current >> Shift));
        output(clearCode_ + 1);  // the end code
    }

    // How many pixels from x on are 0, up to the row's end.
    static int zeroRun(const std::uint8_t* row, int x, int width) {
        int at = x;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        for (; at + 16 <= width; at += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
            const auto nonZero = static_cast<unsigned>(~_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)) & 0xFFFF);
            if (nonZero != 0) return at + __builtin_ctz(nonZero) - x;
        }
#endif
        while (at < width && row[at] == 0) ++at;
        return at - x;
    }

    // The current string is `zeros` 0s and `run` more follow: the same
    // steps as pixel by pixel, but a string of 0s is extended by a known
    // code instead of a look-up per pixel. Gives the length of the string
    // of 0s current after them.
    int takeZeros(int zeros, int run) {
        while (run > 0) {
            const int take = std::min(run, longestZeros_ - zeros);
            zeros += take;
            run -= take;
            if (run == 0) break;
            // One more 0 does not extend the longest string of 0s known.
            const auto code = static_cast<std::size_t>(zeroCode_[static_cast<std::size_t>(zeros)]);
            endString(code, code << codeBits_);
            zeros = 1;
            --run;
        }
        return zeros;
    }

    // The pixel at `slot` does not extend the current string.
    [[gnu::noinline]] void endString(std::size_t code, std::size_t slot) {
        output(static_cast<int>(code));
        if (nextCode_ >= kMaxCode) {
            output(clearCode_);
            clearTable();
            nextCode_ = firstCode_;
            bits_ = codeBits_ + 1;
            widthLimit_ = 1 << bits_;
            longestZeros_ = 1;
            longestZerosSlot_ = 0;
        } else {
            // A string of 0s made one longer by a 0 is the next longest.
            if (slot == longestZerosSlot_) {
                zeroCode_[static_cast<std::size_t>(++longestZeros_)] = static_cast<std::uint16_t>(nextCode_);
                longestZerosSlot_ = static_cast<std::size_t>(nextCode_) << codeBits_;
            }
            next_[slot] = static_cast<std::uint16_t>(nextCode_++);
            made_[count_++] = static_cast<std::uint32_t>(slot);
        }
    }
    void output(int code) {
        writer_.put(code, bits_);
        if (nextCode_ >= widthLimit_ && code <= kMaxCode) widthLimit_ = 1 << ++bits_;
    }
    void clearTable() {
        for (std::size_t i = 0; i < count_; ++i) next_[made_[i]] = 0;
        count_ = 0;
    }

    CodeWriter& writer_;
    const int codeBits_;
    const int clearCode_;
    const int firstCode_;
    int nextCode_;
    int bits_;
    int widthLimit_;
    std::uint16_t* next_ = nullptr;
    std::uint32_t* made_ = nullptr;
    std::size_t count_ = 0;
    // The codes of the strings of 1 to longestZeros_ 0s (index 0's own code
    // is 0); a table holds at most one string per code. Only the entries up
    // to longestZeros_ are ever read.
    std::array<std::uint16_t, kMaxCode + 2> zeroCode_;
    int longestZeros_ = 1;
    std::size_t longestZerosSlot_ = 0;  // where a 0 would extend the longest
};

}  // namespace

std::vector<std::uint8_t> encodeGif(const GifPicture& picture) {
    const int bits = picture.paletteBits;
    if (picture.width < 1 || picture.height < 1 || picture.width > 0xFFFF || picture.height > 0xFFFF || bits < 1 ||
        bits > 8 || picture.pixels == nullptr || picture.stride < static_cast<std::size_t>(picture.width) ||
        picture.palette.size() != 3u << bits) {
        throw std::invalid_argument("not a picture the GIF encoder takes");
    }
    std::vector<std::uint8_t> out;
    // Roughly what a signature image takes; more is added as needed.
    out.reserve(1024 + static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) / 8);
    const char signature[] = "GIF87a";
    out.insert(out.end(), signature, signature + 6);
    putWord(out, picture.width);
    putWord(out, picture.height);
    // A global colour table, its colour resolution the palette's bits.
    out.push_back(static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.push_back(0);  // background colour
    out.push_back(0);  // no aspect ratio
    out.insert(out.end(), picture.palette.begin(), picture.palette.end());

    out.push_back(0x2C);  // the image, over the whole screen, no local table
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, picture.width);
    putWord(out, picture.height);
    out.push_back(0);

    const int codeBits = std::max(2, bits);
    out.push_back(static_cast<std::uint8_t>(codeBits));
    CodeWriter writer(tableOfThisThread().packed);
    {
        Compressor compressor(codeBits, writer);
        compressor.run(picture);
    }
    writer.finish(out);
    out.push_back(0x3B);
    return out;
}

}  // namespace sigplus
