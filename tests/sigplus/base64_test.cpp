// The signature's base64 reader accepts and yields exactly what libsodium's
// decoder of the same variant does (the writer is libsodium's).
#include "sigplus/signature_codec.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <random>
#include <string>

namespace {

std::optional<std::vector<std::uint8_t>> sodiums(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.size() / 4 * 3 + 3);
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_URLSAFE_NO_PADDING) != 0 ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    bytes.resize(length);
    return bytes;
}

TEST(Base64, AgreesWithLibsodiumOnWrittenTextsAndTheirCorruptions) {
    std::mt19937 random(11);
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_+/=. \n";
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes(random() % 40);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        std::string text(sodium_base64_encoded_len(bytes.size(), sodium_base64_VARIANT_URLSAFE_NO_PADDING), '\0');
        sodium_bin2base64(text.data(), text.size(), bytes.data(), bytes.size(), sodium_base64_VARIANT_URLSAFE_NO_PADDING);
        text.resize(text.size() - 1);
        ASSERT_EQ(sigplus::codec::fromBase64(text), bytes);
        // A letter changed, cut off or added, sometimes from outside the
        // alphabet: trailing bits, lone letters and strangers.
        switch (random() % 3) {
        case 0:
            if (!text.empty()) text[random() % text.size()] = letters[random() % letters.size()];
            break;
        case 1:
            if (!text.empty()) text.pop_back();
            break;
        default: text.push_back(letters[random() % letters.size()]); break;
        }
        const auto expected = sodiums(text);
        refused += expected ? 0 : 1;
        ASSERT_EQ(sigplus::codec::fromBase64(text), expected) << text;
    }
    EXPECT_GT(refused, 300) << "the corruptions should include many refused texts";
}

}  // namespace
