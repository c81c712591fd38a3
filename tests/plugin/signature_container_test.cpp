// The layouts of the values a rendered image becomes, built on the host's
// runtime and read back as the host sees them.
#include "functions/SignatureContainer.h"
#include "hostapi/HostCall.h"
#include "hostapi/HostHandles.h"

#include <FMWrapper/HostSide.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const std::vector<std::uint8_t> kBytes{'G', 'I', 'F', 0x00, 0xFF};
const zera::RenderedImage kImage{kBytes.data(), static_cast<std::uint32_t>(kBytes.size()), 215, 70};

fmw::Container stored(const fmx::BinaryData* value) {
    fmw::ResultValue result;
    zera::hostCall([&](HostError& e) { return FM_Data_SetBinaryData(result.get(), value, true, e); });
    return result.value().containerValue();
}

TEST(SignatureContainer, FileOutputIsTheSizeThenTheBytesAsGifAndAgainAsBmpWithNoName) {
    {
        zera::BinaryDataHandle value;
        zera::QuadCharHandle gif('G', 'I', 'F', 'f');
        zera::QuadCharHandle bmp('B', 'M', 'P', ' ');
        zera::buildFileOutput(value.get(), gif.get(), bmp.get(), kImage);
        const fmw::Container container = stored(value.get());
        EXPECT_EQ(container.addOrder, (std::vector<std::string>{"SIZE", "GIFf", "BMP "}));
        EXPECT_EQ(container.imageSize, std::make_pair(std::int16_t{215}, std::int16_t{70}));
        EXPECT_FALSE(container.fileName.has_value());
        ASSERT_EQ(container.streams.size(), 2u);
        EXPECT_EQ(container.streams[0].bytes, kBytes) << "a save writes the first stream";
        EXPECT_EQ(container.streams[1].bytes, kBytes);
    }
    EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
}

}  // namespace
