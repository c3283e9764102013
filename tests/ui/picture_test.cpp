// Decoding the window's pictures from their embedded bytes, and what a bad picture does.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "payload/embedded.h"
#include "ui/picture.h"
#include "ui/pictures.h"

namespace {

struct embedded_case {
    const char* what;
    picture_bytes bytes;
    int width, height;
};

TEST(picture, decodes_every_embedded_picture_at_its_size) {
    const byte_set_view finish = byte_set_bytes(finish_picture);
    const embedded_case cases[] = {
        {"install button (sRGB profile)", LUMVEX_PICTURE_BYTES(picture_install), 220, 80},
        {"install button, hot", LUMVEX_PICTURE_BYTES(picture_install_hot), 220, 80},
        {"finish picture", {finish.data, finish.size}, 220, 80},
        {"second logo", LUMVEX_PICTURE_BYTES(picture_logo2), 250, 256},
        {"flame logo (no profile)", LUMVEX_PICTURE_BYTES(picture_flame), 424, 534},
        {"close button", LUMVEX_PICTURE_BYTES(picture_close), 27, 22},
        {"close button, hot", LUMVEX_PICTURE_BYTES(picture_close_hot), 27, 22},
        {"close button, pressed", LUMVEX_PICTURE_BYTES(picture_close_pressed), 27, 22},
        {"icon picture", LUMVEX_PICTURE_BYTES(picture_icon), 48, 48},
    };
    for (const auto& c : cases) {
        const picture decoded = picture::decode(c.bytes.data, c.bytes.size);
        EXPECT_FALSE(decoded.empty()) << c.what;
        EXPECT_EQ(decoded.width(), c.width) << c.what;
        EXPECT_EQ(decoded.height(), c.height) << c.what;
    }
}

TEST(picture, the_finish_picture_is_a_byte_set_of_one_dimension) {
    int32_t header[2];
    std::memcpy(header, finish_picture, sizeof(header));
    EXPECT_EQ(header[0], 1);
    EXPECT_EQ(static_cast<size_t>(header[1]), byte_set_bytes(finish_picture).size);
    EXPECT_EQ(byte_set_bytes(finish_picture).data[0], 0xFF) << "JPEG data follows the header";
}

TEST(picture, bad_bytes_give_an_empty_picture_that_draws_nothing) {
    const picture_bytes flame = LUMVEX_PICTURE_BYTES(picture_flame);
    std::vector<unsigned char> damaged(flame.data, flame.data + flame.size);
    for (size_t i = 20; i < 400 && i < damaged.size(); ++i) damaged[i] = 0xFF;  // headers destroyed
    const std::vector<unsigned char> cases[] = {
        {},
        {0xFF, 0xD8},                       // a JPEG start and nothing else
        {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02},  // a header cut short
        {'G', 'I', 'F', '8', '9', 'a'},     // not a format the window draws
        {0, 0, 1, 0, 1, 0},                 // an icon directory without its entry
        damaged,
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const picture decoded = picture::decode(cases[i].data(), cases[i].size());
        EXPECT_TRUE(decoded.empty()) << "case " << i;
        decoded.draw(dc, picture_fit::stretch, 10, 10);  // must not crash
    }
    DeleteDC(dc);
}

}  // namespace
