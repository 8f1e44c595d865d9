#include "PictureCode.h"

#include <array>
#include <cstdint>

namespace zorby::ui {
namespace {

constexpr int kSlots = 64;
constexpr int kLongestRun = 62;
constexpr unsigned char kWholeColour = 0xFE;
constexpr unsigned char kWholePixel = 0xFF;

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

std::uint32_t Argb(int a, int r, int g, int b) {
    return (std::uint32_t(a & 0xFF) << 24) | (std::uint32_t(r & 0xFF) << 16) |
           (std::uint32_t(g & 0xFF) << 8) | std::uint32_t(b & 0xFF);
}

std::size_t Slot(std::uint32_t pixel) {
    return std::size_t(Channel(pixel, 24) * 11 + Channel(pixel, 16) * 3 + Channel(pixel, 8) * 5 +
                       Channel(pixel, 0) * 7) %
           kSlots;
}

// The change from `before` to `after` in one channel, wrapped into -128 to 127.
int Step(std::uint32_t after, std::uint32_t before, int shift) {
    return static_cast<std::int8_t>(
        static_cast<std::uint8_t>(Channel(after, shift) - Channel(before, shift)));
}

} // namespace

std::vector<unsigned char> EncodePicture(const Pixels& picture) {
    std::vector<unsigned char> code;
    std::array<std::uint32_t, kSlots> seen{};
    std::uint32_t last = 0;
    int run = 0;
    const auto endRun = [&] {
        if (run > 0) {
            code.push_back(static_cast<unsigned char>(0xC0 | (run - 1)));
            run = 0;
        }
    };
    for (const std::uint32_t pixel : picture.argb) {
        if (pixel == last) {
            if (++run == kLongestRun) {
                endRun();
            }
            continue;
        }
        endRun();
        const std::size_t slot = Slot(pixel);
        const int r = Step(pixel, last, 16), g = Step(pixel, last, 8), b = Step(pixel, last, 0);
        if (seen[slot] == pixel) {
            code.push_back(static_cast<unsigned char>(slot));
        } else if (Channel(pixel, 24) != Channel(last, 24)) {
            code.insert(code.end(), {kWholePixel, static_cast<unsigned char>(Channel(pixel, 24)),
                                     static_cast<unsigned char>(Channel(pixel, 16)),
                                     static_cast<unsigned char>(Channel(pixel, 8)),
                                     static_cast<unsigned char>(Channel(pixel, 0))});
        } else if (r >= -2 && r <= 1 && g >= -2 && g <= 1 && b >= -2 && b <= 1) {
            code.push_back(static_cast<unsigned char>(0x40 | (r + 2) << 4 | (g + 2) << 2 | (b + 2)));
        } else if (g >= -32 && g <= 31 && r - g >= -8 && r - g <= 7 && b - g >= -8 && b - g <= 7) {
            code.push_back(static_cast<unsigned char>(0x80 | (g + 32)));
            code.push_back(static_cast<unsigned char>((r - g + 8) << 4 | (b - g + 8)));
        } else {
            code.insert(code.end(), {kWholeColour, static_cast<unsigned char>(Channel(pixel, 16)),
                                     static_cast<unsigned char>(Channel(pixel, 8)),
                                     static_cast<unsigned char>(Channel(pixel, 0))});
        }
        seen[slot] = pixel;
        last = pixel;
    }
    endRun();
    return code;
}

Pixels DecodePicture(int width, int height, std::span<const unsigned char> code) {
    Pixels picture{width, height, std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height), 0)};
    std::array<std::uint32_t, kSlots> seen{};
    std::uint32_t last = 0;
    std::size_t at = 0;
    const auto next = [&] { return at < code.size() ? int(code[at++]) : 0; };
    for (std::size_t out = 0; out < picture.argb.size() && at < code.size();) {
        const int op = next();
        if (op >= 0xC0 && op < kWholeColour) {
            for (int n = (op & 0x3F) + 1; n > 0 && out < picture.argb.size(); --n) {
                picture.argb[out++] = last;
            }
            continue;
        }
        const int a = Channel(last, 24), r = Channel(last, 16), g = Channel(last, 8), b = Channel(last, 0);
        std::uint32_t pixel = 0;
        if (op < 0x40) {
            pixel = seen[std::size_t(op)];
        } else if (op < 0x80) {
            pixel = Argb(a, r + ((op >> 4) & 3) - 2, g + ((op >> 2) & 3) - 2, b + (op & 3) - 2);
        } else if (op < 0xC0) {
            const int green = (op & 0x3F) - 32;
            const int others = next();
            pixel = Argb(a, r + green + (others >> 4) - 8, g + green, b + green + (others & 0x0F) - 8);
        } else if (op == kWholeColour) {
            const int newRed = next(), newGreen = next();
            pixel = Argb(a, newRed, newGreen, next());
        } else {
            const int newAlpha = next(), newRed = next(), newGreen = next();
            pixel = Argb(newAlpha, newRed, newGreen, next());
        }
        seen[Slot(pixel)] = pixel;
        last = pixel;
        picture.argb[out++] = pixel;
    }
    return picture;
}

} // namespace zorby::ui
