// The control's signature-string reader, and the layers behind its
// authentication that a forged string could only reach with the key.
//
// The first byte chooses what the rest is:
//   0  packing, cipher (one signed byte each), the bound text's length n,
//      n bytes of bound text (one unit each), then the signature text
//   1  an ink payload
//   2  a packed (compressed) payload
//   3  an ink payload that, when it parses, must survive encoding and
//      decoding under the modes of its first two bytes
#include "sigplus/signature_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0: {
        if (rest.size() < 3) return 0;
        const sigplus::SignatureModes modes{static_cast<std::int8_t>(rest[0]), static_cast<std::int8_t>(rest[1])};
        const std::size_t boundLength = std::min<std::size_t>(rest[2], rest.size() - 3);
        std::u16string bound(rest.begin() + 3, rest.begin() + 3 + static_cast<std::ptrdiff_t>(boundLength));
        const auto text = rest.subspan(3 + boundLength);
        const auto ink = sigplus::decodeSignature(
            std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), {bound}, modes);
        if (ink && (ink->empty() || sigplus::pointCount(*ink) > sigplus::kMaxInkPoints)) std::abort();
        break;
    }
    case 1:
        (void)sigplus::codec::parseInk(rest);
        break;
    case 2:
        if (const auto payload = sigplus::codec::unpack(rest, true)) (void)sigplus::codec::parseInk(*payload);
        break;
    case 3: {
        if (rest.size() < 2) return 0;
        const sigplus::SignatureModes modes{static_cast<std::int8_t>(rest[0]), static_cast<std::int8_t>(rest[1])};
        const auto ink = sigplus::codec::parseInk(rest.subspan(2));
        if (!ink) return 0;
        const sigplus::BoundTexts bound = {u"Order 1042"};
        const auto back = sigplus::decodeSignature(sigplus::encodeSignature(*ink, bound, modes), bound, modes);
        if (!back || *back != *ink) std::abort();
        break;
    }
    }
    return 0;
}
