#include "Art.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorby::ui {
namespace {

struct Colour {
    double r, g, b, a; // 0 to 255, straight alpha
};

Colour C(int r, int g, int b, int a = 255) {
    return {double(r), double(g), double(b), double(a)};
}

struct Point {
    double x, y;
};

struct Stop {
    double at;
    Colour colour;
};

// What fills a shape: a plain colour, a gradient along a line, or a radial gradient (elliptical when
// `squash` is below 1).
struct Paint {
    enum class Kind { Solid, Linear, Radial } kind = Kind::Solid;
    std::vector<Stop> stops;
    Point from{}, to{};
    double radius = 1.0;
    double squash = 1.0;

    static Paint Solid(Colour colour) { return {Kind::Solid, {{0, colour}}}; }
    static Paint Linear(Point from, Point to, std::vector<Stop> stops) {
        return {Kind::Linear, std::move(stops), from, to};
    }
    static Paint Radial(Point centre, double radius, std::vector<Stop> stops, double squash = 1.0) {
        return {Kind::Radial, std::move(stops), centre, centre, radius, squash};
    }

    Colour At(Point p) const {
        double t = 0;
        if (kind == Kind::Linear) {
            const double dx = to.x - from.x, dy = to.y - from.y;
            t = ((p.x - from.x) * dx + (p.y - from.y) * dy) / (dx * dx + dy * dy);
        } else if (kind == Kind::Radial) {
            t = std::hypot(p.x - from.x, (p.y - from.y) / squash) / radius;
        }
        t = std::clamp(t, 0.0, 1.0);
        if (t <= stops.front().at) {
            return stops.front().colour;
        }
        for (std::size_t i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].at) {
                const Stop& a = stops[i - 1];
                const Stop& b = stops[i];
                const double f = (t - a.at) / (b.at - a.at);
                const auto mix = [f](double x, double y) { return x + (y - x) * f; };
                return {mix(a.colour.r, b.colour.r), mix(a.colour.g, b.colour.g), mix(a.colour.b, b.colour.b),
                        mix(a.colour.a, b.colour.a)};
            }
        }
        return stops.back().colour;
    }
};

struct Box {
    double left, top, right, bottom;
};

// Signed distance from a rounded rectangle's edge: negative inside.
double RoundedRectDistance(Point p, Box r, double radius) {
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const double qx = std::abs(p.x - cx) - ((r.right - r.left) / 2 - radius);
    const double qy = std::abs(p.y - cy) - ((r.bottom - r.top) / 2 - radius);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

double SegmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool InsidePolygon(Point p, const std::vector<Point>& corners) {
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const Point a = corners[i], b = corners[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

// Draws shapes in logical units onto a picture `scale` times as large, each pixel sampled at 4 by 4
// points: GDI draws no smooth edges, so the edges are smoothed here.
class Canvas {
public:
    Canvas(int width, int height, double scale) : scale_(scale) {
        pixels_.width = width;
        pixels_.height = height;
        pixels_.argb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    }

    void Clip(Box box) { clip_ = box; }

    // Fills where `inside` holds for a logical point, within `bounds`.
    template <typename Inside> void Fill(Box bounds, const Inside& inside, const Paint& paint) {
        const Box area{std::max(bounds.left, clip_.left), std::max(bounds.top, clip_.top),
                       std::min(bounds.right, clip_.right), std::min(bounds.bottom, clip_.bottom)};
        const int x0 = std::max(0, int(std::floor(area.left * scale_)));
        const int y0 = std::max(0, int(std::floor(area.top * scale_)));
        const int x1 = std::min(pixels_.width, int(std::ceil(area.right * scale_)));
        const int y1 = std::min(pixels_.height, int(std::ceil(area.bottom * scale_)));
        constexpr int kSamples = 4;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const Point p{(x + (sx + 0.5) / kSamples) / scale_,
                                      (y + (sy + 0.5) / kSamples) / scale_};
                        if (p.x >= area.left && p.x < area.right && p.y >= area.top && p.y < area.bottom &&
                            inside(p)) {
                            ++hits;
                        }
                    }
                }
                if (hits > 0) {
                    Blend(x, y, paint.At({(x + 0.5) / scale_, (y + 0.5) / scale_}),
                          double(hits) / (kSamples * kSamples));
                }
            }
        }
    }

    void RoundedRect(Box r, double radius, const Paint& paint) {
        Fill(
            r, [=](Point p) { return RoundedRectDistance(p, r, radius) <= 0; }, paint);
    }
    // An outline of `width` centred on the rounded rectangle's edge.
    void RoundedRectOutline(Box r, double radius, double width, Colour colour) {
        const Box bounds{r.left - width, r.top - width, r.right + width, r.bottom + width};
        Fill(
            bounds, [=](Point p) { return std::abs(RoundedRectDistance(p, r, radius)) <= width / 2; },
            Paint::Solid(colour));
    }
    void Rect(Box r, Colour colour) {
        Fill(
            r, [](Point) { return true; }, Paint::Solid(colour));
    }
    // A line of `width` with round ends through all `points`.
    void Polyline(const std::vector<Point>& points, double width, const Paint& paint) {
        Box bounds{1e9, 1e9, -1e9, -1e9};
        for (const Point& p : points) {
            bounds = {std::min(bounds.left, p.x - width), std::min(bounds.top, p.y - width),
                      std::max(bounds.right, p.x + width), std::max(bounds.bottom, p.y + width)};
        }
        Fill(
            bounds,
            [&](Point p) {
                for (std::size_t i = 1; i < points.size(); ++i) {
                    if (SegmentDistance(p, points[i - 1], points[i]) <= width / 2) {
                        return true;
                    }
                }
                return false;
            },
            paint);
    }
    void Polygon(const std::vector<Point>& corners, const Paint& paint) {
        Box bounds{1e9, 1e9, -1e9, -1e9};
        for (const Point& p : corners) {
            bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                      std::max(bounds.bottom, p.y)};
        }
        Fill(
            bounds, [&](Point p) { return InsidePolygon(p, corners); }, paint);
    }
    void Circle(Point centre, double radius, const Paint& paint) {
        Fill(
            {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius},
            [=](Point p) { return std::hypot(p.x - centre.x, p.y - centre.y) <= radius; }, paint);
    }

    Pixels Take() { return std::move(pixels_); }

private:
    void Blend(int x, int y, Colour colour, double coverage) {
        std::uint32_t& pixel = pixels_.argb[std::size_t(y) * std::size_t(pixels_.width) + std::size_t(x)];
        const double alpha = colour.a / 255.0 * coverage;
        const double keep = 1.0 - alpha;
        const auto channel = [&](int shift, double source) {
            const double below = double((pixel >> shift) & 0xFF);
            return std::uint32_t(std::lround(std::clamp(source * alpha + below * keep, 0.0, 255.0))) << shift;
        };
        pixel = channel(24, 255.0) | channel(16, colour.r) | channel(8, colour.g) | channel(0, colour.b);
    }

    Pixels pixels_;
    double scale_;
    Box clip_{-1e9, -1e9, 1e9, 1e9};
};

// A faceted stud between two rivets, centred on one end of the plate's rim.
void EndOrnament(Canvas& canvas, double centreX) {
    const double middleY = 17.0;
    const std::vector<Point> stud{{centreX, middleY - 6.5},
                                  {centreX + 3.2, middleY},
                                  {centreX, middleY + 6.5},
                                  {centreX - 3.2, middleY}};
    canvas.Polygon(stud,
                   Paint::Linear({centreX - 3.2, middleY - 6.5}, {centreX + 3.2, middleY + 6.5},
                                 {{0.0, C(240, 243, 248)}, {0.5, C(160, 166, 180)}, {1.0, C(88, 94, 108)}}));
    std::vector<Point> outline = stud;
    outline.push_back(stud.front());
    canvas.Polyline(outline, 0.8, Paint::Solid(C(34, 38, 48)));
    // The facet line across the stud catches the light.
    canvas.Polyline({{centreX - 2.2, middleY}, {centreX + 2.2, middleY}}, 0.6,
                    Paint::Solid(C(255, 255, 255, 110)));
    for (const double y : {middleY - 10.0, middleY + 10.0}) {
        canvas.Circle({centreX, y}, 1.65, Paint::Solid(C(40, 44, 54)));
        canvas.Circle(
            {centreX, y}, 1.4,
            Paint::Radial({centreX - 0.4, y - 0.4}, 1.8, {{0.0, C(250, 250, 252)}, {1.0, C(96, 102, 116)}}));
    }
}

} // namespace

// A metal rim, thin along the top and bottom and wide at the ends where the ornaments sit, around a
// sunken slate field; the lit plate is brighter and glows more strongly.
Pixels DrawPlate(PlateTone tone, double scale) {
    const bool light = tone == PlateTone::Light;
    Canvas canvas(int(std::ceil(ImageButtonState::kPlateWidth * scale)),
                  int(std::ceil(ImageButtonState::kPlateHeight * scale)), scale);
    canvas.RoundedRect({0.5, 0.5, 101.5, 33.5}, 8.0, Paint::Solid(C(18, 20, 26)));
    canvas.RoundedRect({1.0, 1.0, 101.0, 33.0}, 7.5,
                       Paint::Linear({0, 1}, {0, 33},
                                     {{0.00, C(222, 226, 233)},
                                      {0.20, C(172, 178, 190)},
                                      {0.50, C(98, 104, 118)},
                                      {0.56, C(82, 88, 100)},
                                      {0.85, C(142, 148, 160)},
                                      {1.00, C(192, 198, 208)}}));
    // An engraved groove that follows the rim.
    canvas.RoundedRectOutline({2.6, 2.4, 99.4, 31.6}, 6.0, 0.8, C(28, 32, 40, 120));
    EndOrnament(canvas, 5.2);
    EndOrnament(canvas, 96.8);

    const Box field{10.0, 4.0, 92.0, 30.0};
    canvas.RoundedRect({9.5, 3.5, 92.5, 30.5}, 3.5, Paint::Solid(C(14, 17, 23)));
    canvas.RoundedRect(
        field, 3.0,
        light ? Paint::Linear({0, 4}, {0, 30},
                              {{0.0, C(51, 60, 77)}, {0.5, C(44, 52, 67)}, {1.0, C(37, 44, 57)}})
              : Paint::Linear({0, 4}, {0, 30},
                              {{0.0, C(42, 49, 61)}, {0.5, C(36, 42, 53)}, {1.0, C(30, 35, 45)}}));
    // A wide, flat glow in the middle of the field.
    canvas.RoundedRect(
        field, 3.0,
        Paint::Radial({51.0, 17.0}, 41.0,
                      {{0.0, light ? C(110, 132, 170, 140) : C(70, 84, 108, 55)}, {1.0, C(0, 0, 0, 0)}},
                      26.0 / 82.0));
    // A hairline of light along the field's lower edge makes it read as sunk into the metal.
    canvas.Polyline({{13.0, 29.6}, {89.0, 29.6}}, 0.8, Paint::Solid(C(255, 255, 255, light ? 40 : 28)));
    return canvas.Take();
}

// Designed on a 48-unit grid and scaled to the size asked for.
Pixels DrawEmblem(int size) {
    const double scale = size / 48.0;
    const bool small = size < 24;
    Canvas canvas(size, size, scale);
    canvas.RoundedRect({1.5, 1.5, 46.5, 46.5}, 10, Paint::Solid(C(18, 20, 26)));
    canvas.RoundedRect({3, 3, 45, 45}, 8.5,
                       Paint::Linear({0, 2}, {0, 46},
                                     {{0.00, C(226, 230, 236)},
                                      {0.45, C(120, 126, 140)},
                                      {0.55, C(88, 94, 108)},
                                      {1.00, C(186, 192, 204)}}));
    const Box field = small ? Box{9, 9, 39, 39} : Box{7, 7, 41, 41};
    canvas.RoundedRect({field.left - 1, field.top - 1, field.right + 1, field.bottom + 1}, 6,
                       Paint::Solid(C(14, 17, 23)));
    canvas.RoundedRect(field, 5,
                       Paint::Radial({24, 24}, (field.right - field.left) * 0.7,
                                     {{0.0, C(78, 94, 122)}, {0.6, C(44, 52, 67)}, {1.0, C(30, 35, 45)}}));
    if (!small) {
        // Speed lines: the program is about animations.
        const Paint speed = Paint::Solid(C(192, 192, 192, 170));
        canvas.Polyline({{10, 21}, {14, 21}}, 1.6, speed);
        canvas.Polyline({{9, 25}, {15, 25}}, 1.6, speed);
        canvas.Polyline({{10, 29}, {13, 29}}, 1.6, speed);
    }
    const std::vector<Point> zed{{17, 15}, {33, 15}, {17, 33}, {33, 33}};
    const double stroke = small ? 7.0 : 5.0;
    canvas.Polyline(zed, stroke + 2.0, Paint::Solid(C(20, 14, 4, 200)));
    canvas.Polyline(zed, stroke,
                    Paint::Linear({0, 13}, {0, 35},
                                  {{0.0, C(255, 240, 150)}, {0.5, C(240, 196, 70)}, {1.0, C(200, 140, 30)}}));
    return canvas.Take();
}

// A grey bezel on a stand, a dark screen with a grid and a bright trace, at whole pixels so the grid
// stays sharp at 16 pixels.
Pixels DrawChart(int size) {
    const int k = size / 16;
    Canvas canvas(size, size, 1.0);
    const auto rect = [&](int left, int top, int width, int height, Colour colour) {
        canvas.Rect({double(left), double(top), double(left + width), double(top + height)}, colour);
    };
    rect(0, k, 16 * k, 12 * k, C(64, 64, 64));
    rect(k, 2 * k, 14 * k, 10 * k, C(192, 192, 192));
    rect(6 * k, 13 * k, 4 * k, k, C(128, 128, 128));
    rect(4 * k, 14 * k, 8 * k, k, C(64, 64, 64));

    const int left = 2 * k, top = 3 * k, width = 12 * k, height = 8 * k;
    rect(left, top, width, height, C(0, 32, 16));
    for (int x = left + 3 * k; x < left + width - 1; x += 3 * k) {
        rect(x, top, 1, height, C(0, 96, 48));
    }
    for (int y = top + 2 * k; y < top + height - 1; y += 3 * k) {
        rect(left, y, width, 1, C(0, 96, 48));
    }
    canvas.Clip({double(left), double(top), double(left + width), double(top + height)});
    std::vector<Point> trace;
    const double middle = top + height / 2.0;
    const double amplitude = height * 0.32;
    for (int step = 0; step <= 24; ++step) {
        const double t = step / 24.0;
        trace.push_back({left + t * width, middle - amplitude * std::sin(t * 2.0 * std::numbers::pi)});
    }
    canvas.Polyline(trace, k == 1 ? 1.2 : 1.8, Paint::Solid(C(160, 255, 180)));
    return canvas.Take();
}

std::string IconFile(const std::vector<int>& sizes) {
    std::string file;
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(char((value >> (8 * i)) & 0xFF));
        }
    };
    std::vector<std::string> images;
    for (const int size : sizes) {
        const Pixels emblem = DrawEmblem(size);
        std::string image;
        std::swap(file, image);
        const int maskRow = ((size + 31) / 32) * 4;
        put(40, 4); // BITMAPINFOHEADER: the height counts the picture and its mask
        put(std::uint32_t(size), 4);
        put(std::uint32_t(2 * size), 4);
        put(1, 2);
        put(32, 2);
        put(0, 4);
        put(std::uint32_t(size * size * 4 + maskRow * size), 4);
        put(0, 4);
        put(0, 4);
        put(0, 4);
        put(0, 4);
        for (int y = size - 1; y >= 0; --y) { // bottom-up rows, straight alpha
            for (int x = 0; x < size; ++x) {
                put(StraightAlpha(emblem.At(x, y)), 4);
            }
        }
        for (int y = size - 1; y >= 0; --y) {
            std::string row(std::size_t(maskRow), '\0');
            for (int x = 0; x < size; ++x) {
                if ((emblem.At(x, y) >> 24) == 0) {
                    row[std::size_t(x / 8)] = char(row[std::size_t(x / 8)] | (0x80 >> (x % 8)));
                }
            }
            file += row;
        }
        std::swap(file, image);
        images.push_back(std::move(image));
    }
    put(0, 2); // ICONDIR
    put(1, 2);
    put(std::uint32_t(sizes.size()), 2);
    std::uint32_t offset = std::uint32_t(6 + 16 * sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        put(std::uint32_t(sizes[i] >= 256 ? 0 : sizes[i]), 1);
        put(std::uint32_t(sizes[i] >= 256 ? 0 : sizes[i]), 1);
        put(0, 1);
        put(0, 1);
        put(1, 2);
        put(32, 2);
        put(std::uint32_t(images[i].size()), 4);
        put(offset, 4);
        offset += std::uint32_t(images[i].size());
    }
    for (const std::string& image : images) {
        file += image;
    }
    return file;
}

} // namespace zorby::ui
