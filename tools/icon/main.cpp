// vantle-icon DIR NAME: draws the application icon into a hicolor theme folder: the scalable
// DIR/scalable/apps/NAME.svg and DIR/SxS/apps/NAME.png at 48, 128 and 256 pixels. One list of
// shapes makes both, so the pictures and the vector drawing always agree: two word cards, an
// "A" and a "中", above the red time bar of the match game.
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <cstdio>
#include <vector>

namespace {

constexpr double kGrid = 256;  // the drawing's units; the SVG view box is kGrid square

struct Shape {
  enum Kind { Box, Line } kind;
  std::vector<QPointF> points;  // Box: top-left and bottom-right corners
  double radius;                // Box: corner radius
  const char* fill;             // null: not filled
  const char* stroke;           // null: no outline
  double width;                 // of the stroke
};

const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> kShapes = {
      {Shape::Box, {{16, 16}, {240, 240}}, 44, "#1f6f8b", nullptr, 0},
      {Shape::Box, {{34, 54}, {130, 180}}, 14, "#ffffff", nullptr, 0},
      {Shape::Box, {{126, 70}, {222, 196}}, 14, "#ffd54f", nullptr, 0},
      {Shape::Line, {{56, 160}, {82, 78}, {108, 160}}, 0, nullptr, "#1f6f8b", 13},
      {Shape::Line, {{66, 131}, {98, 131}}, 0, nullptr, "#1f6f8b", 13},
      {Shape::Box, {{146, 110}, {202, 150}}, 4, nullptr, "#c0392b", 11},
      {Shape::Line, {{174, 88}, {174, 176}}, 0, nullptr, "#c0392b", 11},
      {Shape::Box, {{34, 206}, {222, 222}}, 8, "#e74c3c", nullptr, 0},
  };
  return kShapes;
}

QByteArray Svg() {
  QByteArray svg = QByteArrayLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 256 256\">\n");
  for (const Shape& s : Shapes()) {
    const QByteArray paint = QByteArray(" fill=\"") + (s.fill ? s.fill : "none") + "\"" +
                             (s.stroke ? QByteArray(" stroke=\"") + s.stroke +
                                             "\" stroke-width=\"" + QByteArray::number(s.width) +
                                             "\" stroke-linecap=\"round\" stroke-linejoin=\"round\""
                                       : QByteArray(" stroke=\"none\""));
    if (s.kind == Shape::Box) {
      const QPointF a = s.points[0], b = s.points[1];
      svg += "  <rect x=\"" + QByteArray::number(a.x()) + "\" y=\"" + QByteArray::number(a.y()) +
             "\" width=\"" + QByteArray::number(b.x() - a.x()) + "\" height=\"" +
             QByteArray::number(b.y() - a.y()) + "\" rx=\"" + QByteArray::number(s.radius) + "\"" +
             paint + "/>\n";
    } else {
      QByteArray points;
      for (const QPointF& p : s.points)
        points += (points.isEmpty() ? "" : " ") + QByteArray::number(p.x()) + "," +
                  QByteArray::number(p.y());
      svg += "  <polyline points=\"" + points + "\"" + paint + "/>\n";
    }
  }
  return svg + "</svg>\n";
}

QImage Png(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kGrid, size / kGrid);
  for (const Shape& s : Shapes()) {
    painter.setBrush(s.fill ? QBrush(QColor(s.fill)) : QBrush(Qt::NoBrush));
    painter.setPen(s.stroke
                       ? QPen(QColor(s.stroke), s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                       : QPen(Qt::NoPen));
    if (s.kind == Shape::Box)
      painter.drawRoundedRect(QRectF(s.points[0], s.points[1]), s.radius, s.radius);
    else
      painter.drawPolyline(QPolygonF(QList<QPointF>(s.points.begin(), s.points.end())));
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: vantle-icon DIR NAME\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]), name = QString::fromLocal8Bit(argv[2]);
  const QString scalable = dir + "/scalable/apps";
  QFile svg(scalable + "/" + name + ".svg");
  if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly) || svg.write(Svg()) < 0 ||
      !svg.flush()) {
    std::fprintf(stderr, "vantle-icon: cannot write %s\n", qPrintable(svg.fileName()));
    return 1;
  }
  for (int size : {48, 128, 256}) {
    const QString folder = dir + QStringLiteral("/%1x%1/apps").arg(size);
    const QString file = folder + "/" + name + ".png";
    if (!QDir().mkpath(folder) || !Png(size).save(file, "PNG")) {
      std::fprintf(stderr, "vantle-icon: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
