#include "sigplus/signature_codec.h"

#include <sodium.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <stdexcept>

namespace sigplus {
namespace {

constexpr std::uint8_t kFormat = 1;
constexpr std::uint8_t kProtectionTag = 0;
constexpr std::uint8_t kProtectionAead = 1;
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kTagSize = 16;
constexpr std::size_t kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kKeySize = 32;
// A payload of kMaxInkPoints points needs far less than this.
constexpr std::size_t kMaxPayload = 512u * 1024u;

static_assert(crypto_aead_xchacha20poly1305_ietf_KEYBYTES == kKeySize);
static_assert(crypto_aead_xchacha20poly1305_ietf_ABYTES == kTagSize);

using Bytes = std::vector<std::uint8_t>;
using Key = std::array<std::uint8_t, kKeySize>;

void ensureSodium() {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot be initialised");
}

std::uint8_t protectionFor(std::int16_t cipher) { return cipher == 0 ? kProtectionTag : kProtectionAead; }
bool compressedFor(std::int16_t packing) { return packing > 0; }
int levelFor(std::int16_t packing) { return std::min<int>(packing, Z_BEST_COMPRESSION); }

void putLe16(crypto_generichash_state& state, std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8)};
    crypto_generichash_update(&state, bytes, sizeof bytes);
}

void putLe32(crypto_generichash_state& state, std::uint32_t value) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    crypto_generichash_update(&state, bytes, sizeof bytes);
}

Key deriveKey(const BoundTexts& bound, SignatureModes modes) {
    static constexpr char kContext[] = "SigPlus signature key v1";
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, kKeySize);
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(kContext), sizeof kContext - 1);
    putLe16(state, modes.packing);
    putLe16(state, modes.cipher);
    putLe32(state, static_cast<std::uint32_t>(bound.size()));
    for (const std::u16string& text : bound) {
        putLe32(state, static_cast<std::uint32_t>(text.size()));
        for (const char16_t unit : text) putLe16(state, static_cast<std::int16_t>(unit));
    }
    Key key{};
    crypto_generichash_final(&state, key.data(), key.size());
    return key;
}

void tagOf(const Key& key, std::span<const std::uint8_t> data, std::uint8_t* tag) {
    crypto_generichash(tag, kTagSize, data.data(), data.size(), key.data(), key.size());
}

void putVarint(Bytes& out, std::uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint32_t zigzag(std::int32_t value) {
    return (static_cast<std::uint32_t>(value) << 1) ^ static_cast<std::uint32_t>(value >> 31);
}

std::int32_t unzigzag(std::uint32_t value) {
    return static_cast<std::int32_t>(value >> 1) ^ -static_cast<std::int32_t>(value & 1);
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool varint(std::uint32_t& value) {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (at_ >= bytes_.size()) return false;
            const std::uint8_t byte = bytes_[at_++];
            if (shift == 28 && (byte & 0x70) != 0) return false;  // beyond 32 bits
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }
    bool done() const { return at_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

bool fitsCoordinate(std::int32_t value) { return value >= INT16_MIN && value <= INT16_MAX; }

std::string toBase64(std::span<const std::uint8_t> bytes) {
    constexpr int variant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
    std::string text(sodium_base64_encoded_len(bytes.size(), variant), '\0');
    sodium_bin2base64(text.data(), text.size(), bytes.data(), bytes.size(), variant);
    text.resize(std::strlen(text.c_str()));
    return text;
}

}  // namespace

namespace codec {

// The URL-safe alphabet without padding, read four letters (three bytes) at
// a time through a table. It accepts exactly what libsodium's decoder of the
// same variant accepts (the strings were written by it): no letter outside
// the alphabet, no lone last letter, no bits set past the last byte.
std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text) {
    static constexpr std::array<std::int8_t, 256> kValues = [] {
        std::array<std::int8_t, 256> values{};
        values.fill(-1);
        const std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
        for (std::size_t i = 0; i < alphabet.size(); ++i) {
            values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
        }
        return values;
    }();
    const std::size_t tail = text.size() % 4;
    if (tail == 1) return std::nullopt;
    std::vector<std::uint8_t> bytes(text.size() / 4 * 3 + (tail == 0 ? 0 : tail - 1));
    auto value = [&](std::size_t i) { return static_cast<std::int32_t>(kValues[static_cast<unsigned char>(text[i])]); };
    std::size_t out = 0;
    std::size_t at = 0;
    for (; at + 4 <= text.size(); at += 4) {
        const std::int32_t a = value(at), b = value(at + 1), c = value(at + 2), d = value(at + 3);
        if ((a | b | c | d) < 0) return std::nullopt;
        const std::uint32_t group = static_cast<std::uint32_t>(a << 18 | b << 12 | c << 6 | d);
        bytes[out++] = static_cast<std::uint8_t>(group >> 16);
        bytes[out++] = static_cast<std::uint8_t>(group >> 8);
        bytes[out++] = static_cast<std::uint8_t>(group);
    }
    if (tail >= 2) {
        const std::int32_t a = value(at), b = value(at + 1), c = tail == 3 ? value(at + 2) : 0;
        if ((a | b | c) < 0) return std::nullopt;
        const std::uint32_t group = static_cast<std::uint32_t>(a << 18 | b << 12 | c << 6);
        // The bits after the last whole byte must be zero.
        if ((group & (tail == 2 ? 0xFFFFu : 0xFFu)) != 0) return std::nullopt;
        bytes[out++] = static_cast<std::uint8_t>(group >> 16);
        if (tail == 3) bytes[out++] = static_cast<std::uint8_t>(group >> 8);
    }
    return bytes;
}

Bytes serializeInk(const Ink& ink) {
    Bytes out;
    out.reserve(8 + pointCount(ink) * 3);
    putVarint(out, static_cast<std::uint32_t>(ink.size()));
    for (const Stroke& stroke : ink) {
        putVarint(out, static_cast<std::uint32_t>(stroke.size()));
        Point previous{};
        for (const Point& p : stroke) {
            putVarint(out, zigzag(p.x - previous.x));
            putVarint(out, zigzag(p.y - previous.y));
            previous = p;
        }
    }
    return out;
}

std::optional<Ink> parseInk(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    std::uint32_t strokes = 0;
    if (!in.varint(strokes) || strokes == 0 || strokes > kMaxInkPoints) return std::nullopt;
    Ink ink;
    ink.reserve(strokes);
    std::size_t total = 0;
    for (std::uint32_t s = 0; s < strokes; ++s) {
        std::uint32_t points = 0;
        if (!in.varint(points) || points == 0 || points > kMaxInkPoints - total) return std::nullopt;
        total += points;
        Stroke stroke;
        stroke.reserve(points);
        std::int32_t x = 0;
        std::int32_t y = 0;
        for (std::uint32_t i = 0; i < points; ++i) {
            std::uint32_t dx = 0;
            std::uint32_t dy = 0;
            if (!in.varint(dx) || !in.varint(dy)) return std::nullopt;
            const std::int64_t nx = std::int64_t{x} + unzigzag(dx);
            const std::int64_t ny = std::int64_t{y} + unzigzag(dy);
            if (nx < INT16_MIN || nx > INT16_MAX || ny < INT16_MIN || ny > INT16_MAX) return std::nullopt;
            x = static_cast<std::int32_t>(nx);
            y = static_cast<std::int32_t>(ny);
            if (!fitsCoordinate(x) || !fitsCoordinate(y)) return std::nullopt;
            stroke.push_back(Point{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
        }
        ink.push_back(std::move(stroke));
    }
    if (!in.done()) return std::nullopt;
    return ink;
}

std::optional<Bytes> unpack(std::span<const std::uint8_t> packed, bool compressed) {
    if (!compressed) {
        if (packed.size() > kMaxPayload) return std::nullopt;
        return Bytes(packed.begin(), packed.end());
    }
    if (packed.size() < 4) return std::nullopt;
    const std::uint32_t length = std::uint32_t{packed[0]} | std::uint32_t{packed[1]} << 8 |
                                 std::uint32_t{packed[2]} << 16 | std::uint32_t{packed[3]} << 24;
    if (length == 0 || length > kMaxPayload) return std::nullopt;
    Bytes payload(length);
    uLongf produced = length;
    uLong consumed = static_cast<uLong>(packed.size() - 4);
    if (uncompress2(payload.data(), &produced, packed.data() + 4, &consumed) != Z_OK || produced != length ||
        consumed != packed.size() - 4) {
        return std::nullopt;
    }
    return payload;
}

}  // namespace codec

std::string encodeSignature(const Ink& given, const BoundTexts& bound, SignatureModes modes) {
    Ink ink;
    for (const Stroke& stroke : given) {
        if (!stroke.empty()) ink.push_back(stroke);
    }
    if (ink.empty()) return {};
    if (pointCount(ink) > kMaxInkPoints) throw std::length_error("ink has too many points");
    ensureSodium();
    const Bytes payload = codec::serializeInk(ink);

    Bytes packed;
    const bool compressed = compressedFor(modes.packing);
    if (compressed) {
        uLongf size = compressBound(static_cast<uLong>(payload.size()));
        packed.resize(4 + size);
        const auto length = static_cast<std::uint32_t>(payload.size());
        for (int i = 0; i < 4; ++i) packed[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
        const int status = compress2(packed.data() + 4, &size, payload.data(), static_cast<uLong>(payload.size()),
                                     levelFor(modes.packing));
        if (status == Z_MEM_ERROR) throw std::bad_alloc();
        if (status != Z_OK) throw std::runtime_error("zlib cannot compress the ink");
        packed.resize(4 + size);
    } else {
        packed = payload;
    }

    const std::uint8_t protection = protectionFor(modes.cipher);
    Bytes record{kFormat, protection, static_cast<std::uint8_t>(compressed ? 1 : 0), 0};
    const Key key = deriveKey(bound, modes);
    if (protection == kProtectionTag) {
        record.insert(record.end(), packed.begin(), packed.end());
        std::uint8_t tag[kTagSize];
        tagOf(key, record, tag);
        record.insert(record.end(), tag, tag + kTagSize);
    } else {
        record.resize(kHeaderSize + kNonceSize);
        randombytes_buf(record.data() + kHeaderSize, kNonceSize);
        const std::size_t adLength = record.size();
        record.resize(adLength + packed.size() + kTagSize);
        unsigned long long written = 0;
        crypto_aead_xchacha20poly1305_ietf_encrypt(record.data() + adLength, &written, packed.data(), packed.size(),
                                                   record.data(), adLength, nullptr, record.data() + kHeaderSize,
                                                   key.data());
        record.resize(adLength + static_cast<std::size_t>(written));
    }
    return std::string(kSignaturePrefix) + toBase64(record);
}

std::optional<Ink> decodeSignature(std::string_view text, const BoundTexts& bound, SignatureModes modes) {
    try {
        if (text.size() > kMaxSignatureText || !text.starts_with(kSignaturePrefix)) return std::nullopt;
        ensureSodium();
        const auto record = codec::fromBase64(text.substr(kSignaturePrefix.size()));
        if (!record || record->size() < kHeaderSize) return std::nullopt;
        const std::uint8_t protection = protectionFor(modes.cipher);
        const bool compressed = compressedFor(modes.packing);
        const Bytes& r = *record;
        if (r[0] != kFormat || r[1] != protection || r[2] != (compressed ? 1 : 0) || r[3] != 0) return std::nullopt;
        const Key key = deriveKey(bound, modes);

        Bytes packed;
        if (protection == kProtectionTag) {
            if (r.size() < kHeaderSize + kTagSize) return std::nullopt;
            const std::size_t signedLength = r.size() - kTagSize;
            std::uint8_t tag[kTagSize];
            tagOf(key, std::span(r).first(signedLength), tag);
            if (sodium_memcmp(tag, r.data() + signedLength, kTagSize) != 0) return std::nullopt;
            packed.assign(r.begin() + kHeaderSize, r.begin() + static_cast<std::ptrdiff_t>(signedLength));
        } else {
            const std::size_t adLength = kHeaderSize + kNonceSize;
            if (r.size() < adLength + kTagSize) return std::nullopt;
            packed.resize(r.size() - adLength - kTagSize);
            unsigned long long opened = 0;
            if (crypto_aead_xchacha20poly1305_ietf_decrypt(packed.data(), &opened, nullptr, r.data() + adLength,
                                                           r.size() - adLength, r.data(), adLength,
                                                           r.data() + kHeaderSize, key.data()) != 0) {
                return std::nullopt;
            }
            packed.resize(static_cast<std::size_t>(opened));
        }
        const auto payload = codec::unpack(packed, compressed);
        if (!payload) return std::nullopt;
        return codec::parseInk(*payload);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace sigplus
