// vantle-pictures PIC_DIR: paints the twenty background pictures 0.jpg to 19.jpg, 800 x 570
// pixels: light, cool-toned landscapes and soft shapes, so that black text on buttons and the
// screen saver's orange-to-yellow captions stay readable on them. Five motifs in four palettes;
// every number comes from a fixed seed, so every build paints the same pictures.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 570;
constexpr int kPictures = 20;

class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
  // A fraction in [0, 1).
  double Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
  }
  double Between(double a, double b) { return a + (b - a) * Next(); }

 private:
  std::uint64_t state_;
};

struct Palette {
  QColor sky_top, sky_bottom, far, mid, near, accent;
};

const Palette kPalettes[] = {
    {"#8ec5e8", "#e6f3fa", "#b4cfe3", "#9cc9b2", "#86bb98", "#fff8dc"},  // morning blue
    {"#94d6cc", "#ecf8f3", "#bcdcd3", "#97cdb7", "#80bfa1", "#ffffff"},  // mint
    {"#b7b2e6", "#f0ecf9", "#cbc4e8", "#afbde0", "#9aaed6", "#fff4f8"},  // lavender
    {"#a6d6f0", "#f3f9e8", "#c1dcc8", "#a9d3a3", "#93c68a", "#fffbe4"},  // spring
};

QColor WithAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

void Sky(QPainter& p, const Palette& pal, double horizon) {
  QLinearGradient g(0, 0, 0, kHeight * horizon);
  g.setColorAt(0, pal.sky_top);
  g.setColorAt(1, pal.sky_bottom);
  p.fillRect(0, 0, kWidth, kHeight, g);
}

void Glow(QPainter& p, QPointF centre, double radius, QColor colour, int alpha) {
  QRadialGradient g(centre, radius);
  g.setColorAt(0, WithAlpha(colour, alpha));
  g.setColorAt(0.35, WithAlpha(colour, alpha * 2 / 3));
  g.setColorAt(1, WithAlpha(colour, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(centre, radius, radius);
}

void Clouds(QPainter& p, Dice& dice, int count, double top, double bottom) {
  p.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const double x = dice.Between(-60, kWidth), y = dice.Between(top, bottom);
    const double w = dice.Between(90, 180);
    // One outline for all puffs, filled once, so that no overlap shows through.
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    for (int k = 0; k < 5; ++k)
      cloud.addEllipse(QPointF(x + k * w / 5, y + dice.Between(-6, 6) - (k == 2 ? 10 : 0)), w / 4.2,
                       w / 7.5);
    p.setBrush(QColor(255, 255, 255, static_cast<int>(dice.Between(150, 200))));
    p.drawPath(cloud.simplified());
  }
}

// A band of hills whose ridge swings around `level` (a fraction of the height).
void Hills(QPainter& p, Dice& dice, double level, double swing, QColor colour) {
  QPainterPath path(QPointF(0, kHeight));
  const int steps = 5;
  double y = kHeight * level + dice.Between(-swing, swing);
  path.lineTo(0, y);
  for (int i = 1; i <= steps; ++i) {
    const double x0 = kWidth * (i - 1) / steps, x1 = kWidth * i / steps;
    const double next = kHeight * level + dice.Between(-swing, swing);
    path.cubicTo(x0 + (x1 - x0) / 2, y, x0 + (x1 - x0) / 2, next, x1, next);
    y = next;
  }
  path.lineTo(kWidth, kHeight);
  path.closeSubpath();
  QLinearGradient g(0, kHeight * level - swing, 0, kHeight);
  g.setColorAt(0, colour);
  g.setColorAt(1, colour.lighter(112));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(path);
}

// A mountain range standing on `base`: a ridge line made by midpoint displacement, so that it
// has a few summits and rough slopes.
QPolygonF Ridge(Dice& dice, double base, double height, double roughness) {
  constexpr int kSegments = 64;
  std::vector<double> y(kSegments + 1);
  y[0] = dice.Between(0.2, 0.6) * height;
  y[kSegments] = dice.Between(0.2, 0.6) * height;
  double spread = height * 0.7;
  for (int step = kSegments / 2; step >= 1; step /= 2, spread *= roughness)
    for (int i = step; i < kSegments; i += 2 * step)
      y[i] = std::clamp((y[i - step] + y[i + step]) / 2 + dice.Between(-spread, spread) / 2,
                        height * 0.1, height);
  QPolygonF ridge;
  ridge << QPointF(0, base);
  for (int i = 0; i <= kSegments; ++i)
    ridge << QPointF(static_cast<double>(kWidth) * i / kSegments, base - y[i]);
  ridge << QPointF(kWidth, base);
  return ridge;
}

void RollingHills(QPainter& p, const Palette& pal, Dice& dice) {
  Sky(p, pal, 0.7);
  Glow(p, {dice.Between(150, 650), dice.Between(80, 160)}, 150, pal.accent, 220);
  Clouds(p, dice, 4, 40, 200);
  Hills(p, dice, 0.55, 30, pal.far);
  Hills(p, dice, 0.68, 35, pal.mid);
  Hills(p, dice, 0.82, 25, pal.near);
}

void MountainLake(QPainter& p, const Palette& pal, Dice& dice) {
  const double shore = kHeight * 0.62;
  Sky(p, pal, 0.62);
  Clouds(p, dice, 3, 30, 150);
  p.setPen(Qt::NoPen);
  const QColor ranges[] = {pal.far.lighter(104), pal.mid};
  for (int r = 0; r < 2; ++r) {
    QPolygonF ridge = Ridge(dice, shore, 270 - r * 110, 0.55 + r * 0.05);
    p.setBrush(ranges[r]);
    p.drawPolygon(ridge);
    // Its reflection, faint, in the lake.
    QPolygonF mirror;
    for (QPointF q : ridge) mirror << QPointF(q.x(), 2 * shore - q.y());
    p.setBrush(WithAlpha(ranges[r], 70));
    p.drawPolygon(mirror);
  }
  QLinearGradient water(0, shore, 0, kHeight);
  water.setColorAt(0, WithAlpha(pal.sky_bottom, 150));
  water.setColorAt(1, WithAlpha(pal.sky_top, 200));
  p.fillRect(QRectF(0, shore, kWidth, kHeight - shore), water);
  p.setPen(QPen(QColor(255, 255, 255, 120), 2));
  for (int i = 0; i < 14; ++i) {
    const double y = dice.Between(shore + 10, kHeight - 10), x = dice.Between(0, kWidth - 120);
    p.drawLine(QPointF(x, y), QPointF(x + dice.Between(40, 120), y));
  }
}

void SoftLights(QPainter& p, const Palette& pal, Dice& dice) {
  QLinearGradient g(0, 0, kWidth, kHeight);
  g.setColorAt(0, pal.sky_bottom);
  g.setColorAt(0.5, pal.sky_top.lighter(110));
  g.setColorAt(1, pal.far.lighter(108));
  p.fillRect(0, 0, kWidth, kHeight, g);
  const QColor colours[] = {pal.accent, Qt::white, pal.mid.lighter(120), pal.far.lighter(115)};
  for (int i = 0; i < 45; ++i) {
    const double r = dice.Between(20, 110);
    Glow(p, {dice.Between(0, kWidth), dice.Between(0, kHeight)}, r,
         colours[static_cast<int>(dice.Between(0, 4))], static_cast<int>(dice.Between(50, 120)));
  }
}

void Seaside(QPainter& p, const Palette& pal, Dice& dice) {
  const double horizon = kHeight * 0.55;
  Sky(p, pal, 0.55);
  Glow(p, {dice.Between(100, 700), horizon - 60}, 130, pal.accent, 200);
  Clouds(p, dice, 5, 30, horizon - 90);
  QLinearGradient sea(0, horizon, 0, kHeight);
  sea.setColorAt(0, pal.far);
  sea.setColorAt(1, pal.sky_top.lighter(108));
  p.fillRect(QRectF(0, horizon, kWidth, kHeight - horizon), sea);
  p.setBrush(Qt::NoBrush);
  for (int row = 0; row < 9; ++row) {
    const double y = horizon + 12 + row * row * 3.2 + row * 6;
    p.setPen(QPen(QColor(255, 255, 255, 90 + row * 8), 1.2 + row * 0.25));
    QPainterPath wave(QPointF(0, y));
    const double length = 60 + row * 12, phase = dice.Between(0, 6.28);
    for (double x = 0; x <= kWidth; x += 8)
      wave.lineTo(x, y + std::sin(x / length * 6.28 + phase) * (1.5 + row * 0.6));
    p.drawPath(wave);
  }
  // A sand bank in the corner and a few gulls.
  QPainterPath sand(QPointF(0, kHeight));
  sand.lineTo(0, kHeight - 70);
  sand.cubicTo(200, kHeight - 80, 300, kHeight - 20, 480, kHeight);
  sand.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(246, 236, 214));
  p.drawPath(sand);
  p.setPen(QPen(QColor(90, 100, 120, 150), 2));
  for (int i = 0; i < 4; ++i) {
    const double x = dice.Between(80, 720), y = dice.Between(60, horizon - 120),
                 s = dice.Between(7, 13);
    QPainterPath gull(QPointF(x - s, y));
    gull.quadTo(x - s / 2, y - s / 2, x, y);
    gull.quadTo(x + s / 2, y - s / 2, x + s, y);
    p.drawPath(gull);
  }
}

void Meadow(QPainter& p, const Palette& pal, Dice& dice) {
  Sky(p, pal, 0.6);
  Clouds(p, dice, 4, 30, 180);
  Hills(p, dice, 0.6, 20, pal.far);
  Hills(p, dice, 0.72, 15, pal.mid.lighter(105));
  // Round trees along the far field.
  for (int i = 0; i < 7; ++i) {
    const double x = dice.Between(30, 770), base = kHeight * dice.Between(0.63, 0.7);
    const double r = dice.Between(18, 32);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 135, 120));
    p.drawRect(QRectF(x - 3, base - r * 0.4, 6, r * 0.9));
    p.setBrush(pal.near.darker(106));
    p.drawEllipse(QPointF(x, base - r * 1.1), r * 0.9, r);
    p.setBrush(WithAlpha(pal.mid.lighter(115), 160));
    p.drawEllipse(QPointF(x - r * 0.3, base - r * 1.35), r * 0.45, r * 0.4);
  }
  Hills(p, dice, 0.84, 12, pal.near.lighter(108));
  const QColor flowers[] = {QColor(255, 255, 255), QColor(255, 214, 230), QColor(225, 215, 255),
                            QColor(255, 246, 200)};
  for (int i = 0; i < 160; ++i) {
    const double y = dice.Between(kHeight * 0.8, kHeight - 4);
    p.setBrush(flowers[static_cast<int>(dice.Between(0, 4))]);
    const double r = 1.5 + (y - kHeight * 0.8) / 40;
    p.drawEllipse(QPointF(dice.Between(0, kWidth), y), r, r);
  }
}

// Keeps the picture light: where its mean brightness is below the mark, it is blended with
// white until it reaches it.
void KeepLight(QImage& image) {
  constexpr double kMeanLuma = 180;
  double sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      sum += 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
    }
  const double mean = sum / (image.width() * image.height());
  if (mean >= kMeanLuma) return;
  const double t = (kMeanLuma - mean) / (255 - mean);
  QPainter p(&image);
  p.fillRect(image.rect(), QColor(255, 255, 255, static_cast<int>(std::lround(t * 255))));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantle-pictures PIC_DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "vantle-pictures: cannot make %s\n", argv[1]);
    return 1;
  }
  using Motif = void (*)(QPainter&, const Palette&, Dice&);
  const Motif motifs[] = {RollingHills, MountainLake, SoftLights, Seaside, Meadow};
  for (int n = 0; n < kPictures; ++n) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing);
      Dice dice(static_cast<std::uint64_t>(n) + 2024);
      motifs[n % 5](p, kPalettes[(n / 5 + n % 5) % 4], dice);
    }
    KeepLight(image);
    const QString path = folder + "/" + QString::number(n) + ".jpg";
    if (!image.save(path, "JPG", 90)) {
      std::fprintf(stderr, "vantle-pictures: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  std::printf("vantle-pictures: painted %d pictures in %s\n", kPictures, argv[1]);
  return 0;
}
