#include "gif_encoder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace sigplus {
namespace {

constexpr int kMaxCode = 4095;  // the last code of a 12-bit table

void putWord(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Codes packed from the low bit up, in data sub-blocks of up to 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void put(int code, int bits) {
        bitBuffer_ |= static_cast<std::uint32_t>(code) << bitCount_;
        bitCount_ += bits;
        while (bitCount_ >= 8) {
            byte(static_cast<std::uint8_t>(bitBuffer_ & 0xFF));
            bitBuffer_ >>= 8;
            bitCount_ -= 8;
        }
    }
    // The last bits, the last block, and the empty block that ends the data.
    void finish() {
        if (bitCount_ > 0) byte(static_cast<std::uint8_t>(bitBuffer_ & 0xFF));
        if (blockStarted_) out_[blockStart_] = static_cast<std::uint8_t>(blockSize_);
        out_.push_back(0);
    }

private:
    void byte(std::uint8_t value) {
        if (!blockStarted_ || blockSize_ == 255) {
            if (blockStarted_) out_[blockStart_] = 255;
            blockStart_ = out_.size();
            out_.push_back(0);
            blockSize_ = 0;
            blockStarted_ = true;
        }
        out_.push_back(value);
        ++blockSize_;
    }

    std::vector<std::uint8_t>& out_;
    std::uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
    std::size_t blockStart_ = 0;
    int blockSize_ = 0;
    bool blockStarted_ = false;
};

// The LZW string table: for each code, its extension by each pixel value
// (0 for none; no string's code is ever 0). Kept per thread and emptied
// string by string, so an image costs only the strings it makes; it is
// empty again whenever the table object goes, however the encoding ends.
class StringTable {
public:
    explicit StringTable(int codeBits) {
        const std::size_t size = static_cast<std::size_t>(kMaxCode + 1) << codeBits;
        if (nextOfThread_.size() < size) nextOfThread_.assign(size, 0);
        // Thread storage is reached once, not once per string.
        next_ = nextOfThread_.data();
        made_ = madeOfThread_.data();
    }
    ~StringTable() { clear(); }
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    std::uint16_t* slots() { return next_; }
    void add(std::size_t slot, int code) {
        next_[slot] = static_cast<std::uint16_t>(code);
        made_[count_++] = static_cast<std::uint32_t>(slot);
    }
    void clear() {
        for (std::size_t i = 0; i < count_; ++i) next_[made_[i]] = 0;
        count_ = 0;
    }

private:
    std::uint16_t* next_;
    std::uint32_t* made_;
    std::size_t count_ = 0;
    static thread_local std::vector<std::uint16_t> nextOfThread_;
    static thread_local std::array<std::uint32_t, kMaxCode + 1> madeOfThread_;
};

thread_local std::vector<std::uint16_t> StringTable::nextOfThread_;
thread_local std::array<std::uint32_t, kMaxCode + 1> StringTable::madeOfThread_;

void compress(const GifPicture& picture, int codeBits, CodeWriter& writer) {
    const int clearCode = 1 << codeBits;
    const int endCode = clearCode + 1;
    const int firstCode = clearCode + 2;
    int nextCode = firstCode;
    int bits = codeBits + 1;
    int widthLimit = 1 << bits;
    StringTable table(codeBits);
    std::uint16_t* next = table.slots();

    // The width grows once a code no longer fits, checked after each code
    // is written, as giflib does.
    auto output = [&](int code) {
        writer.put(code, bits);
        if (nextCode >= widthLimit && code <= kMaxCode) widthLimit = 1 << ++bits;
    };

    output(clearCode);
    int current = -1;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.pixels + static_cast<std::size_t>(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x) {
            const int pixel = row[x];
            if (current < 0) {
                current = pixel;
                continue;
            }
            const std::size_t slot = (static_cast<std::size_t>(current) << codeBits) | static_cast<std::size_t>(pixel);
            if (next[slot] != 0) {
                current = next[slot];
                continue;
            }
            output(current);
            current = pixel;
            if (nextCode >= kMaxCode) {
                output(clearCode);
                table.clear();
                nextCode = firstCode;
                bits = codeBits + 1;
                widthLimit = 1 << bits;
            } else {
                table.add(slot, nextCode++);
            }
        }
    }
    output(current);
    output(endCode);
}

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
    CodeWriter writer(out);
    compress(picture, codeBits, writer);
    writer.finish();
    out.push_back(0x3B);
    return out;
}

}  // namespace sigplus
