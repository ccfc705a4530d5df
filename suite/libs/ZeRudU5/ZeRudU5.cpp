// The suite's glyph library. Every picture is drawn here at load time, so the
// library carries no files beside it: a strip of 20 x 20 images, each picture
// a distinct figure on an olive background (the background is the bottom-left
// pixel, which the buttons treat as transparent).
#include "controls/ZeRudU5.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 20;
constexpr int kMaxId = 50;

struct Rgb {
    std::uint8_t r, g, b;
};
constexpr Rgb kOlive{128, 128, 0};

// Pictures with two images (enabled, disabled); all others have one.
int ImagesOf(int id) { return id == 4 ? 2 : 1; }

Rgb Ink(int id, bool disabled) {
    if (disabled) return {128, 128, 128};
    return {static_cast<std::uint8_t>((id * 53) % 200), static_cast<std::uint8_t>((id * 97) % 200),
            static_cast<std::uint8_t>((id * 31) % 200 + 40)};
}

// Whether pixel (x, y) of one image (top-left origin) is inked for `id`.
bool Inked(int id, int x, int y) {
    if (x < 2 || y < 2 || x >= kSize - 2 || y >= kSize - 2) return false;
    switch (id) {
        case 4:  // clear: a cross
            return x == y || x + y == kSize - 1;
        case 8:  // quick pick: a magnifier ring with a handle
        {
            int dx = x - 8, dy = y - 8;
            int d = dx * dx + dy * dy;
            return (d >= 16 && d <= 30) || (x > 11 && x == y && x < 17);
        }
        case 9:  // date: a calendar frame with a header bar
            return x == 3 || x == kSize - 4 || y == 3 || y == kSize - 4 || y == 6 || (x % 4 == 1 && y % 4 == 1);
        case 39:  // users: two heads
            return ((x - 6) * (x - 6) + (y - 7) * (y - 7) <= 6) || ((x - 13) * (x - 13) + (y - 7) * (y - 7) <= 6) ||
                   (y >= 12 && y <= 15);
        case 47:  // delete: a minus bar
            return y >= 9 && y <= 10 && x >= 4 && x <= kSize - 5;
        default:  // a frame and the number's bits along the middle row
            if (x == 2 || x == kSize - 3 || y == 2 || y == kSize - 3) return true;
            return y == 10 && x >= 4 && x < 10 && ((id >> (x - 4)) & 1);
    }
}

std::vector<unsigned char> BuildBmp(int id) {
    const int images = ImagesOf(id);
    const int w = kSize * images, h = kSize;
    const int rowBytes = (w * 3 + 3) & ~3;
    const int imageBytes = rowBytes * h;
    const int fileBytes = 54 + imageBytes;
    std::vector<unsigned char> out(fileBytes, 0);
    auto put16 = [&](int at, int v) {
        out[at] = v & 0xFF;
        out[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = (v >> (8 * i)) & 0xFF;
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, fileBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);  // bottom-up
    put16(26, 1);
    put16(28, 24);
    put32(34, imageBytes);
    for (int y = 0; y < h; ++y) {
        unsigned char* row = out.data() + 54 + (h - 1 - y) * rowBytes;
        for (int x = 0; x < w; ++x) {
            int image = x / kSize;
            Rgb c = Inked(id, x % kSize, y) ? Ink(id, image == 1) : kOlive;
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    return out;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int GetMaxBmpID(void) { return kMaxId; }

extern "C" __attribute__((visibility("default"))) int LoadBmp(int id, unsigned char* buffer, int capacity) {
    if (id < 1 || id > kMaxId) return 0;
    std::vector<unsigned char> bmp = BuildBmp(id);
    int size = static_cast<int>(bmp.size());
    if (buffer && capacity >= size) std::memcpy(buffer, bmp.data(), bmp.size());
    return size;
}
