// The signature string: the ink, bound to the texts it was signed for.
//
//   text    = "SIG1:" base64url(record), without padding
//   record  = format(1) protection(1) packing(1) reserved(1)=0
//             [nonce(24) when protection is 1] body
//   body    = protection 0: packed || tag(16), tag = keyed BLAKE2b of
//                           header, nonce and packed
//             protection 1: XChaCha20-Poly1305(packed), header and nonce as
//                           associated data
//   packed  = packing 0: payload
//             packing 1: payload length (32-bit LE) || zlib stream
//   payload = varint strokes, then per stroke: varint points, the first
//             point's x and y, then each next point's dx and dy, all as
//             zigzag varints
//
// The key is a BLAKE2b hash of the bound texts (in order, each with its
// length) and of both modes, so the string opens only with the same bound
// data under the same PackingMode and CipherMode. CipherMode 0 leaves the
// ink readable but still authenticated; any other CipherMode encrypts it.
// PackingMode 0 stores the payload, 1 to 9 deflate it at that level, higher
// values at level 9, and negative values store it. The bound texts are no
// secret: the key ties a signature to its document, it does not hide it
// from whoever holds the document.
#pragma once

#include "sigplus/ink.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sigplus {

using BoundTexts = std::vector<std::u16string>;

struct SignatureModes {
    std::int16_t packing = 0;  // PackingMode
    std::int16_t cipher = 0;   // CipherMode
};

// Stored strings open in every later build (see docs/compatibility.md).
inline constexpr std::string_view kSignaturePrefix = "SIG1:";
// Longest text the reader looks at; a longer one is not a signature.
inline constexpr std::size_t kMaxSignatureText = 1u << 20;

// The string for an ink; empty for an empty ink. Throws std::bad_alloc when
// memory is short and std::length_error for an ink of more than
// kMaxInkPoints points.
std::string encodeSignature(const Ink& ink, const BoundTexts& bound, SignatureModes modes);

// The ink of a string made under the same bound texts and modes; nothing for
// any other string. Never throws for a malformed string.
std::optional<Ink> decodeSignature(std::string_view text, const BoundTexts& bound, SignatureModes modes);

// The layers below authentication, exposed for the fuzz target and tests.
namespace codec {
std::vector<std::uint8_t> serializeInk(const Ink& ink);
std::optional<Ink> parseInk(std::span<const std::uint8_t> payload);
std::optional<std::vector<std::uint8_t>> unpack(std::span<const std::uint8_t> packed, bool compressed);
// URL-safe base64 without padding; nothing for any other text.
std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text);
}  // namespace codec

}  // namespace sigplus
