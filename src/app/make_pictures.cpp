// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the window's pictures from nothing but arithmetic, so they are ours and can be
// made again: the background (a dim spiral galaxy with two companions on a star field,
// progressive JPEG 800 x 600), the credits picture (an eclipsing binary, baseline JPEG
// 313 x 272), the emblem (GIF 41 x 53) and the installer's icon (PNG, 16 to 512 px square).
//
// Usage: orvanta_make_pictures DIRECTORY
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

// A fixed-seed generator whose numbers are the same with every standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() { // splitmix64
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double gauss() {
        const double u = std::max(uniform(), 1e-12), v = uniform();
        return std::sqrt(-2 * std::log(u)) * std::cos(2 * Pi * v);
    }

private:
    std::uint64_t s_;
};

// A floating-point RGB canvas, added to and finally written out with a tone curve.
struct Light {
    int w, h;
    std::vector<double> r, g, b;
    Light(int width, int height) : w(width), h(height), r(size(), 0), g(size(), 0), b(size(), 0) {}
    [[nodiscard]] size_t size() const { return static_cast<size_t>(w) * h; }
    void add(int x, int y, double dr, double dg, double db) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        const size_t i = static_cast<size_t>(y) * w + x;
        r[i] += dr;
        g[i] += dg;
        b[i] += db;
    }
    // A star: a small Gaussian spot of total brightness `flux`.
    void star(double cx, double cy, double flux, double sigma, QColor tint) {
        const int reach = static_cast<int>(std::ceil(sigma * 3.5));
        const double norm = flux / (2 * Pi * sigma * sigma);
        for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y)
            for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                const double v = norm * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
                add(x, y, v * tint.redF(), v * tint.greenF(), v * tint.blueF());
            }
    }
    // Maps light to pixels: a soft shoulder, then `ceiling` as the brightest value.
    [[nodiscard]] QImage image(double ceiling) const {
        QImage out(w, h, QImage::Format_RGB32);
        auto tone = [ceiling](double v) {
            const double t = 1 - std::exp(-std::max(0.0, v));
            return std::clamp(static_cast<int>(std::lround(255 * ceiling * t)), 0, 255);
        };
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                line[x] = qRgb(tone(r[i]), tone(g[i]), tone(b[i]));
            }
        }
        return out;
    }
};

QColor starTint(Random& rnd) {
    const double t = rnd.uniform();
    if (t < 0.25) return QColor(170, 195, 255); // hot
    if (t < 0.7) return QColor(240, 240, 255);
    if (t < 0.9) return QColor(255, 230, 190);
    return QColor(255, 200, 150); // cool
}

void starField(Light& light, Random& rnd, int count, double brightest) {
    for (int i = 0; i < count; ++i) {
        const double x = rnd.uniform() * light.w, y = rnd.uniform() * light.h;
        // Many faint stars, few bright ones.
        const double flux = brightest * std::pow(rnd.uniform(), 8.0) + 0.02 + 0.1 * rnd.uniform();
        const double sigma = 0.45 + 0.5 * std::sqrt(flux / brightest);
        light.star(x, y, flux, sigma, starTint(rnd));
    }
}

// A smooth elliptical glow: brightness `peak` at the centre, scale `a` along the major
// axis at angle `angle`, axis ratio q.
void ellipticalGlow(Light& light, double cx, double cy, double a, double q, double angle,
                    double peak, QColor tint) {
    const double c = std::cos(angle), s = std::sin(angle);
    for (int y = 0; y < light.h; ++y)
        for (int x = 0; x < light.w; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double u = dx * c + dy * s, v = (-dx * s + dy * c) / q;
            const double r = std::sqrt(u * u + v * v) / a;
            if (r > 8) continue;
            const double f = peak * std::exp(-std::pow(r, 0.7) * 2.2);
            light.add(x, y, f * tint.redF(), f * tint.greenF(), f * tint.blueF());
        }
}

// A large spiral galaxy seen obliquely: a yellowish bulge, a bluish disc with two
// logarithmic arms, dust lanes along their inner edges and knots of young stars.
void spiralGalaxy(Light& light, Random& rnd, double cx, double cy, double scale, double q,
                  double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double pitch = std::tan(24.0 * Pi / 180);
    std::vector<double> noise(light.size());
    for (double& n : noise)
        n = rnd.uniform();
    for (int y = 0; y < light.h; ++y)
        for (int x = 0; x < light.w; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double u = dx * c + dy * s, v = (-dx * s + dy * c) / q;
            const double r = std::sqrt(u * u + v * v) / scale;
            if (r > 3.2) continue;
            const double theta = std::atan2(v, u);
            const double phase = theta - std::log(std::max(r, 0.02)) / pitch;
            const double arms = std::pow(0.5 + 0.5 * std::cos(2 * phase), 2.0);
            const double lane = std::pow(0.5 + 0.5 * std::cos(2 * phase + 1.1), 8.0);
            const double disc = 1.3 * std::exp(-r / 0.6) * (0.45 + 0.9 * arms) *
                                (1 - 0.7 * lane * std::min(1.0, r * 2.5)) *
                                std::clamp(3.2 - r, 0.0, 1.0);
            const double bulge =
                2.2 * std::exp(-std::pow(r / 0.12, 0.8)) + 0.5 * std::exp(-r / 0.3);
            const double grain =
                0.85 + 0.3 * noise[static_cast<size_t>(y) * light.w + x]; // mottled disc
            light.add(x, y, (0.70 * disc * grain + 1.00 * bulge),
                      (0.78 * disc * grain + 0.86 * bulge), (1.00 * disc * grain + 0.62 * bulge));
        }
    // Knots of young stars strung along the arms.
    for (int i = 0; i < 900; ++i) {
        const double r = 0.25 + 2.4 * std::sqrt(rnd.uniform());
        const double arm = rnd.uniform() < 0.5 ? 0 : Pi;
        const double theta = std::log(r) / pitch + arm + 0.25 * rnd.gauss();
        const double u = r * scale * std::cos(theta), v = r * scale * std::sin(theta) * q;
        const double x = cx + u * c - v * s, y = cy + u * s + v * c;
        const bool pink = rnd.uniform() < 0.2;
        light.star(x, y, 0.6 * std::exp(-r / 1.2) * (0.3 + rnd.uniform()), 0.9,
                   pink ? QColor(255, 150, 190) : QColor(190, 210, 255));
    }
}

QImage background() {
    Light light(800, 600);
    Random rnd(20021001);
    // Faint sky glow, a little bluer towards the top.
    for (int y = 0; y < light.h; ++y)
        for (int x = 0; x < light.w; ++x) {
            const double n = 0.012 + 0.006 * rnd.uniform();
            light.add(x, y, n * 0.7, n * 0.8, n * (1.15 - 0.2 * y / 600.0));
        }
    spiralGalaxy(light, rnd, 410, 205, 120, 0.32, -0.52);
    // The two companions: a compact round one close by, a larger elongated one further out.
    ellipticalGlow(light, 478, 262, 5.5, 0.85, -0.3, 1.9, QColor(255, 235, 200));
    ellipticalGlow(light, 268, 88, 14, 0.55, 0.9, 0.9, QColor(255, 230, 200));
    starField(light, rnd, 9000, 6.0);
    // Dimmed: at most 62 % of full white, so light-grey and white text stays legible.
    return light.image(0.62);
}

// The credits picture: two stars of an eclipsing pair on their orbit, the smaller one
// passing in front, and the dip it makes in the light curve below.
QImage credits() {
    const int w = 313, h = 272;
    Light light(w, h);
    Random rnd(415);
    starField(light, rnd, 700, 3.0);
    QImage out = light.image(0.75);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(156, 104);
    // The orbit, seen nearly edge-on.
    p.setPen(QPen(QColor(120, 160, 220, 170), 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 120, 30);
    auto disc = [&](QPointF at, double radius, QColor core, QColor rim) {
        QRadialGradient glow(at, radius * 1.9);
        QColor halo = core;
        halo.setAlpha(90);
        glow.setColorAt(0, halo);
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(at, radius * 1.9, radius * 1.9);
        QRadialGradient body(at, radius);
        body.setColorAt(0, core);
        body.setColorAt(0.75, rim);
        body.setColorAt(1, rim.darker(140));
        p.setBrush(body);
        p.drawEllipse(at, radius, radius);
    };
    disc(centre + QPointF(-12, -4), 46, QColor(255, 214, 150), QColor(230, 110, 50));
    disc(centre + QPointF(26, 14), 22, QColor(235, 245, 255), QColor(120, 160, 255));
    // The light curve with its eclipse.
    const QRectF graph(24, 196, 265, 60);
    p.setPen(QPen(QColor(0, 200, 0), 1));
    p.drawLine(graph.bottomLeft(), graph.bottomRight());
    QPainterPath curve;
    for (int i = 0; i <= 265; ++i) {
        const double t = (i - 132.5) / 22.0;
        const double dip = 0.55 * std::exp(-t * t * t * t) +
                           0.2 * std::exp(-std::pow((i - 12) / 16.0, 4)) +
                           0.2 * std::exp(-std::pow((i - 253) / 16.0, 4));
        const QPointF pt(graph.left() + i, graph.top() + 6 + 46 * dip);
        if (i == 0)
            curve.moveTo(pt);
        else
            curve.lineTo(pt);
    }
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    p.drawEllipse(QPointF(graph.left() + 150,
                          graph.top() + 6 + 46 * 0.55 * std::exp(-std::pow(17.5 / 22.0, 4))),
                  3, 3);
    return out;
}

// The emblem at any size: two overlapping discs, a bright one in front of a dimmer one,
// inside a tilted orbit ellipse, on black.
QImage emblem(int w, int h, bool rounded) {
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::black);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = std::min(w / 41.0, h / 53.0);
    if (rounded) {
        out.fill(Qt::transparent);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(8, 10, 24));
        p.drawRoundedRect(QRectF(0, 0, w, h), w * 0.18, h * 0.18);
    }
    p.translate(w / 2.0, h / 2.0);
    p.scale(k, k);
    p.save();
    p.rotate(-28);
    p.setPen(QPen(QColor(90, 150, 230), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 19, 9);
    p.restore();
    auto disc = [&](QPointF at, double radius, QColor core, QColor rim) {
        QRadialGradient body(at, radius);
        body.setColorAt(0, core);
        body.setColorAt(1, rim);
        p.setPen(Qt::NoPen);
        p.setBrush(body);
        p.drawEllipse(at, radius, radius);
    };
    disc(QPointF(-4, 3), 8.5, QColor(225, 125, 60), QColor(110, 40, 20));
    disc(QPointF(5, -4), 6.5, QColor(255, 255, 240), QColor(160, 190, 255));
    p.end();
    return out;
}

// ---- a plain GIF writer: a palette of the most frequent colours, LZW-coded ------------

std::vector<QRgb> palette(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) & 0xF8F8F8u];
    std::vector<std::pair<int, QRgb>> ranked;
    for (const auto& [colour, n] : counts)
        ranked.emplace_back(-n, colour);
    std::sort(ranked.begin(), ranked.end());
    std::vector<QRgb> pal;
    for (size_t i = 0; i < ranked.size() && i < 256; ++i) {
        const QRgb c = ranked[i].second;
        pal.push_back(qRgb(qRed(c) | (qRed(c) >> 5), qGreen(c) | (qGreen(c) >> 5),
                           qBlue(c) | (qBlue(c) >> 5)));
    }
    pal.resize(256, qRgb(0, 0, 0));
    return pal;
}

int nearest(const std::vector<QRgb>& pal, QRgb c) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < pal.size(); ++i) {
        const long dr = qRed(pal[i]) - qRed(c), dg = qGreen(pal[i]) - qGreen(c),
                   db = qBlue(pal[i]) - qBlue(c);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

class BitWriter {
public:
    void put(std::uint32_t code, int bits) {
        acc_ |= code << used_;
        used_ += bits;
        while (used_ >= 8) {
            bytes.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
            acc_ >>= 8;
            used_ -= 8;
        }
    }
    void flush() {
        if (used_ > 0) bytes.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
        acc_ = 0;
        used_ = 0;
    }
    std::vector<std::uint8_t> bytes;

private:
    std::uint32_t acc_ = 0;
    int used_ = 0;
};

std::vector<std::uint8_t> lzw(const std::vector<std::uint8_t>& indices) {
    constexpr int MinCodeSize = 8;
    constexpr std::uint32_t Clear = 1u << MinCodeSize, End = Clear + 1;
    BitWriter out;
    std::unordered_map<std::uint32_t, std::uint32_t> table;
    int codeSize = MinCodeSize + 1;
    std::uint32_t maxCode = End;
    out.put(Clear, codeSize);
    std::uint32_t current = indices.front();
    for (size_t i = 1; i < indices.size(); ++i) {
        const std::uint32_t key = (current << 8) | indices[i];
        if (const auto it = table.find(key); it != table.end()) {
            current = it->second;
            continue;
        }
        out.put(current, codeSize);
        table[key] = ++maxCode;
        if (maxCode >= (1u << codeSize)) ++codeSize;
        if (maxCode == 4095) {
            out.put(Clear, codeSize);
            table.clear();
            codeSize = MinCodeSize + 1;
            maxCode = End;
        }
        current = indices[i];
    }
    out.put(current, codeSize);
    out.put(Clear, codeSize);
    out.put(End, MinCodeSize + 1);
    out.flush();
    return out.bytes;
}

bool writeGif(const QImage& image, const QString& path) {
    const std::vector<QRgb> pal = palette(image);
    std::vector<std::uint8_t> indices;
    std::unordered_map<QRgb, std::uint8_t> cache;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFFu;
            auto it = cache.find(c);
            if (it == cache.end())
                it = cache.emplace(c, static_cast<std::uint8_t>(nearest(pal, c))).first;
            indices.push_back(it->second);
        }
    std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&gif](int v) {
        gif.push_back(static_cast<std::uint8_t>(v & 0xFF));
        gif.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    word(image.width());
    word(image.height());
    gif.insert(gif.end(), {0xF7, 0, 0}); // global table of 256 colours, 8 bits each
    for (QRgb c : pal)
        gif.insert(gif.end(),
                   {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                    static_cast<std::uint8_t>(qBlue(c))});
    gif.push_back(0x2C);
    word(0);
    word(0);
    word(image.width());
    word(image.height());
    gif.push_back(0);
    gif.push_back(8);
    const std::vector<std::uint8_t> data = lzw(indices);
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        gif.push_back(static_cast<std::uint8_t>(n));
        gif.insert(gif.end(), data.begin() + static_cast<long>(i),
                   data.begin() + static_cast<long>(i + n));
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    std::ofstream file(path.toStdString(), std::ios::binary);
    file.write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
    return static_cast<bool>(file);
}

bool writeJpeg(const QImage& image, const QString& path, bool progressive) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(progressive ? 80 : 88);
    writer.setProgressiveScanWrite(progressive);
    writer.setOptimizedWrite(true);
    return writer.write(image);
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvanta_make_pictures DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = writeJpeg(background(), dir.filePath("background.jpg"), true);
    ok = writeJpeg(credits(), dir.filePath("credits.jpg"), false) && ok;
    ok = writeGif(emblem(41, 53, false), dir.filePath("emblem.gif")) && ok;
    // The icon at the sizes desktops ask for, each drawn at its own size.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512})
        ok = emblem(size, size, true).save(dir.filePath(QStringLiteral("icon-%1.png").arg(size))) &&
             ok;
    if (!ok) std::fprintf(stderr, "orvanta_make_pictures: could not write the pictures\n");
    return ok ? 0 : 1;
}
