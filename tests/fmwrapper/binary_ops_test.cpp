#include "host_fixture.h"

#include <cstdint>
#include <vector>

class BinaryOps : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        binary = FM_BinaryData_Constructor1(err);
        gif = FM_QuadChar_Constructor2('G', 'I', 'F', 'f', err);
        jpeg = FM_QuadChar_Constructor2('J', 'P', 'E', 'G', err);
    }
    void TearDown() override {
        FM_BinaryData_Delete(binary, err);
        FM_QuadChar_Delete(gif, err);
        FM_QuadChar_Delete(jpeg, err);
        HostTest::TearDown();
    }
    fmx::BinaryData* binary = nullptr;
    fmx::QuadChar* gif = nullptr;
    fmx::QuadChar* jpeg = nullptr;
};

TEST_F(BinaryOps, StreamsAreNumberedInAddOrderBesideTheAttributes) {
    std::uint8_t gifBytes[] = {1, 2, 3, 4};
    fmx::Text* name = makeText(u"a.gif");
    EXPECT_EQ(FM_BinaryData_AddSIZEData(binary, 640, 480, err), 0);
    EXPECT_EQ(FM_BinaryData_Add(binary, gif, sizeof gifBytes, gifBytes, err), 0);
    EXPECT_EQ(FM_BinaryData_AddFNAMData(binary, name, err), 0);
    EXPECT_EQ(FM_BinaryData_Add(binary, jpeg, 0, nullptr, err), 0);
    FM_Text_Delete(name, err);

    EXPECT_EQ(FM_BinaryData_GetSize(binary, 0, err), 4u);
    EXPECT_EQ(FM_BinaryData_GetSize(binary, 1, err), 0u);
    EXPECT_EQ(fmw::misuseCount(), 0u);
    EXPECT_EQ(FM_BinaryData_GetSize(binary, 2, err), 0u);
    EXPECT_EQ(FM_BinaryData_GetSize(binary, -1, err), 0u);
    EXPECT_EQ(fmw::misuseCount(), 2u);

    fmw::ResultValue result;
    FM_Data_SetBinaryData(result.get(), binary, true, err);
    EXPECT_EQ(err.code, 0);
    const fmw::Value value = result.value();
    const fmw::Container& stored = value.containerValue();
    EXPECT_EQ(stored.addOrder, (std::vector<std::string>{"SIZE", "GIFf", "FNAM", "JPEG"}));
    ASSERT_EQ(stored.streams.size(), 2u);
    EXPECT_EQ(stored.streams[0].type, "GIFf");
    EXPECT_EQ(stored.streams[1].type, "JPEG");
    EXPECT_EQ(stored.fileName, u"a.gif");
    EXPECT_EQ(stored.imageSize, std::make_pair(std::int16_t{640}, std::int16_t{480}));
}

TEST_F(BinaryOps, GetDataChecksTheRange) {
    const std::uint8_t bytes[] = {10, 20, 30, 40};
    FM_BinaryData_Add(binary, gif, sizeof bytes, bytes, err);
    std::uint8_t out[3] = {0, 0, 0};

    EXPECT_EQ(FM_BinaryData_GetData(binary, 0, 1, 3, out, err), 0);
    EXPECT_EQ(out[0], 20);
    EXPECT_EQ(out[2], 40);
    out[0] = 0;
    EXPECT_NE(FM_BinaryData_GetData(binary, 0, 2, 3, out, err), 0);
    EXPECT_NE(FM_BinaryData_GetData(binary, 0, 0xFFFFFFFFu, 2, out, err), 0);
    EXPECT_NE(FM_BinaryData_GetData(binary, 1, 0, 1, out, err), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(fmw::misuseCount(), 3u);
    EXPECT_EQ(FM_BinaryData_GetData(binary, 0, 4, 0, nullptr, err), 0);
}

TEST_F(BinaryOps, StoredValueIsIndependentOfThePluginsData) {
    std::uint8_t bytes[] = {7, 8};
    FM_BinaryData_Add(binary, gif, sizeof bytes, bytes, err);
    bytes[0] = 99;
    fmw::ResultValue result;
    FM_Data_SetBinaryData(result.get(), binary, false, err);

    FM_BinaryData_Add(binary, jpeg, sizeof bytes, bytes, err);
    FM_BinaryData_Delete(binary, err);
    binary = FM_BinaryData_Constructor1(err);

    const fmw::Value value = result.value();
    const fmw::Container& stored = value.containerValue();
    ASSERT_EQ(stored.streams.size(), 1u);
    EXPECT_EQ(stored.streams[0].bytes, (std::vector<std::uint8_t>{7, 8}));
    EXPECT_EQ(result.storeCount(), 1);
}
