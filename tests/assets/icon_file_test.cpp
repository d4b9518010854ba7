// The Windows icon file holds exactly the ten images the executable carries.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t little(const Bytes &data, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | data.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

std::uint32_t big32(const Bytes &data, std::size_t at) {
    return std::uint32_t{data.at(at)} << 24 | std::uint32_t{data.at(at + 1)} << 16 |
           std::uint32_t{data.at(at + 2)} << 8 | data.at(at + 3);
}

struct Image {
    std::uint32_t size;
    std::uint32_t bitCount;
    bool operator<(const Image &other) const {
        return std::pair(size, bitCount) < std::pair(other.size, other.bitCount);
    }
    bool operator==(const Image &) const = default;
};

TEST(IconFile, HoldsTenImagesInTheirSizesAndDepths) {
    std::ifstream file(TALLARO_ICO_PATH, std::ios::binary);
    ASSERT_TRUE(file) << TALLARO_ICO_PATH;
    const Bytes data{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(little(data, 0, 2), 0u);
    ASSERT_EQ(little(data, 2, 2), 1u);  // an icon, not a cursor
    const std::uint32_t count = little(data, 4, 2);
    ASSERT_EQ(count, 10u);

    std::multiset<Image> images;
    for (std::size_t entry = 0; entry < count; ++entry) {
        const std::size_t at = 6 + 16 * entry;
        const std::uint32_t listedSize = data.at(at) == 0 ? 256 : data.at(at);
        const std::uint32_t listedBits = little(data, at + 6, 2);
        const std::uint32_t length = little(data, at + 8, 4);
        const std::uint32_t offset = little(data, at + 12, 4);
        ASSERT_LE(std::size_t{offset} + length, data.size());
        EXPECT_EQ(data.at(at + 1) == 0 ? 256u : data.at(at + 1), listedSize);

        if (big32(data, offset) == 0x89504E47) {  // a PNG image: width, height, depth, type
            EXPECT_EQ(big32(data, offset + 16), listedSize);
            EXPECT_EQ(big32(data, offset + 20), listedSize);
            EXPECT_EQ(data.at(offset + 24), 8);  // bits per channel
            EXPECT_EQ(data.at(offset + 25), 6);  // RGBA
            images.insert({listedSize, 32});
        } else {  // a bitmap: its header, the colour and the mask halves stacked
            EXPECT_EQ(little(data, offset, 4), 40u);
            EXPECT_EQ(little(data, offset + 4, 4), listedSize);
            EXPECT_EQ(little(data, offset + 8, 4), 2 * listedSize);
            const std::uint32_t bits = little(data, offset + 14, 2);
            EXPECT_EQ(bits, listedBits);
            const std::size_t palette = bits == 8 ? 256 * 4 : 0;
            const std::size_t colourRow = (listedSize * bits / 8 + 3) / 4 * 4;
            const std::size_t maskRow = (listedSize + 31) / 32 * 4;
            EXPECT_EQ(length, 40 + palette + (colourRow + maskRow) * listedSize);
            images.insert({listedSize, bits});
        }
    }
    const std::multiset<Image> expected = {
        {48, 8},  {32, 8},  {16, 8},  {256, 32}, {128, 32},
        {64, 32}, {48, 32}, {32, 32}, {24, 32},  {16, 32},
    };
    EXPECT_TRUE(images == expected);
}

}  // namespace
