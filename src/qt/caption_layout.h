// Captions of fixed-size buttons and labels (board cells, answer buttons, the match marker)
// laid out to fit their area whole: lines break at spaces and between Chinese characters,
// never inside a word; a caption too big at its font's size is drawn smaller, down to
// kSmallestWholeWordsPoints; only a caption that does not fit even then has a word broken.
// The lines always stay inside the area, left and right, top and bottom.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

namespace qtbind {

inline constexpr qreal kSmallestWholeWordsPoints = 7;

struct CaptionLayout {
  struct Line {
    QString text;
    QRectF box;  // where the line is drawn: its advance wide, one font height high
  };
  QFont font;  // the font the lines are drawn in: the stated one, or the same smaller
  std::vector<Line> lines;
  bool words_whole = true;  // false when a word had to be broken
};

// Lays `caption` out in `area` with `stated` or the largest smaller size that fits.
// `alignment` places the lines: left, centred or right, and at the top or centred.
CaptionLayout FitCaption(const QString& caption, const QFont& stated, const QRectF& area,
                         Qt::Alignment alignment);

void DrawCaption(QPainter& painter, const CaptionLayout& layout);

// A caption's layout kept between paints, made again only when the caption, the font, the
// area or the alignment changes.
class FittedCaption {
 public:
  const CaptionLayout& For(const QString& caption, const QFont& stated, const QRectF& area,
                           Qt::Alignment alignment);

 private:
  bool made_ = false;
  QString caption_;
  QFont stated_;
  QRectF area_;
  Qt::Alignment alignment_;
  CaptionLayout layout_;
};

}  // namespace qtbind
