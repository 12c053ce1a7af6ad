// Area-weighted resampling of premultiplied pixels and colour-key transparency.
#include "ui/PictureResample.h"

#include <algorithm>
#include <cmath>

namespace orv::ui {

namespace {

// The source span [from, to) covered by target cell i of count cells over size pixels.
struct TSpan {
    int First = 0, Last = 0;  // source pixels touched, inclusive
    double From = 0, To = 0;
};

TSpan SpanOf(int i, int count, int size) {
    TSpan s;
    s.From = static_cast<double>(i) * size / count;
    s.To = static_cast<double>(i + 1) * size / count;
    s.First = static_cast<int>(std::floor(s.From));
    s.Last = std::min(size - 1, static_cast<int>(std::ceil(s.To)) - 1);
    return s;
}

double Overlap(const TSpan& s, int pixel) {
    return std::min(s.To, pixel + 1.0) - std::max(s.From, static_cast<double>(pixel));
}

uint32_t Channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

}  // namespace

TPixels ResamplePixels(const TPixels& source, int width, int height) {
    TPixels target;
    if (source.Width <= 0 || source.Height <= 0 || width <= 0 || height <= 0) return target;
    target.Width = width;
    target.Height = height;
    target.Data.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const TSpan rows = SpanOf(y, height, source.Height);
        for (int x = 0; x < width; ++x) {
            const TSpan cols = SpanOf(x, width, source.Width);
            double sum[4] = {0, 0, 0, 0}, area = 0;
            for (int sy = rows.First; sy <= rows.Last; ++sy) {
                const double wy = Overlap(rows, sy);
                for (int sx = cols.First; sx <= cols.Last; ++sx) {
                    const double w = wy * Overlap(cols, sx);
                    const uint32_t p = source.Data[static_cast<size_t>(sy) * source.Width + sx];
                    for (int c = 0; c < 4; ++c) sum[c] += w * Channel(p, 8 * c);
                    area += w;
                }
            }
            uint32_t out = 0;
            for (int c = 0; c < 4; ++c) {
                const long v = area > 0 ? std::lround(sum[c] / area) : 0;
                out |= static_cast<uint32_t>(std::clamp(v, 0L, 255L)) << (8 * c);
            }
            target.Data[static_cast<size_t>(y) * width + x] = out;
        }
    }
    return target;
}

TPixels KeyToAlpha(const TPixels& source, uint32_t keyRgb) {
    TPixels target = source;
    for (uint32_t& p : target.Data) p = (p & 0xFFFFFF) == (keyRgb & 0xFFFFFF) ? 0 : (p | 0xFF000000u);
    return target;
}

}  // namespace orv::ui
