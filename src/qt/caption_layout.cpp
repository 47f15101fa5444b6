#include "qt/caption_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <string_view>

namespace qtbind {
namespace {

// Characters that stand on their own in Chinese text: a line may break before and after each.
bool IsWide(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
         (c >= 0x20000 && c <= 0x3FFFF);
}

// Closing punctuation stays with what it closes, opening punctuation with what it opens.
bool NoBreakBefore(char32_t c) {
  static constexpr std::u32string_view kClosing = U"，。、；：？！）》」』】〕〉”’…～．,.;:?!)]}%";
  return kClosing.find(c) != std::u32string_view::npos;
}

bool NoBreakAfter(char32_t c) {
  static constexpr std::u32string_view kOpening = U"（《「『【〔〈“‘([{";
  return kOpening.find(c) != std::u32string_view::npos;
}

bool IsLetterOrDigit(char32_t c) {
  return QChar::isLetterOrNumber(c);
}

// A line may break between `before` and `after` (no space between them): between two
// Chinese characters, or between one and a word of letters or digits, which stays whole.
bool MayBreakBetween(char32_t before, char32_t after) {
  if (NoBreakBefore(after) || NoBreakAfter(before)) return false;
  return (IsWide(before) && (IsWide(after) || IsLetterOrDigit(after))) ||
         (IsWide(after) && IsLetterOrDigit(before));
}

// A part of the caption that whole-word layout never breaks, with what comes before it.
struct Piece {
  bool NewLine = false;  // the caption breaks the line before it
  QString Spaces;        // shown only when the piece goes on the line of the one before
  QString Text;
};

std::vector<Piece> Pieces(const QString& caption) {
  std::vector<Piece> pieces;
  Piece next;
  bool open = false;  // the last piece may still grow
  char32_t last = 0;
  const QList<uint> code_points = caption.toUcs4();
  for (uint u : code_points) {
    const auto c = static_cast<char32_t>(u);
    if (c == U'\n') {
      next = Piece{true, {}, {}};
      open = false;
    } else if (QChar::isSpace(c)) {
      next.Spaces += QString::fromUcs4(&c, 1);
      open = false;
    } else {
      if (open && !MayBreakBetween(last, c)) {
        pieces.back().Text += QString::fromUcs4(&c, 1);
      } else {
        next.Text = QString::fromUcs4(&c, 1);
        pieces.push_back(std::move(next));
        next = Piece{};
      }
      open = true;
      last = c;
    }
  }
  return pieces;
}

// How wide `text` is when drawn: its advance, or its glyphs where they reach further.
qreal Extent(const QFontMetricsF& metrics, const QString& text) {
  const QRectF ink = metrics.boundingRect(text);
  return std::max(metrics.horizontalAdvance(text), ink.right()) - std::min<qreal>(0, ink.left());
}

// How lines are filled: whole pieces, ending a line at a phrase's end where one is on it;
// whole pieces, as many as fit; or pieces broken between any two characters where needed.
enum class Breaks { AtPhrases, AtWords, Anywhere };

// Punctuation that ends a phrase of a meaning ("引诱；吸引"): a good place for a line to end.
bool EndsPhrase(const Piece& piece) {
  static const QString kEnders = QStringLiteral("；，、。：！？;,");
  return !piece.Text.isEmpty() && kEnders.contains(piece.Text.back());
}

// Fills lines no wider than `width`, piece by piece; false when a piece alone is wider and
// may not be broken. A broken piece is cut between characters, as late as it fits.
bool Arrange(const std::vector<Piece>& pieces, const QFontMetricsF& metrics, qreal width,
             Breaks breaks, std::vector<QString>& lines) {
  lines.clear();
  QString line;
  std::size_t first = 0;  // the first piece on `line`
  auto join = [&](std::size_t from, std::size_t to) {
    QString text = pieces[from].Text;
    for (std::size_t k = from + 1; k < to; ++k) text += pieces[k].Spaces + pieces[k].Text;
    return text;
  };
  auto end_line = [&](std::size_t next) {
    lines.push_back(line);
    line.clear();
    first = next;
  };
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& piece = pieces[i];
    if (piece.NewLine && i > 0) end_line(i);
    if (!line.isEmpty()) {
      const QString longer = line + piece.Spaces + piece.Text;
      if (Extent(metrics, longer) <= width) {
        line = longer;
        continue;
      }
      std::size_t end = i;
      if (breaks == Breaks::AtPhrases)
        for (std::size_t k = i - 1; k > first; --k)
          if (EndsPhrase(pieces[k - 1])) {
            end = k;
            break;
          }
      if (end < i) line = join(first, end);
      end_line(end);
      if (end < i) {
        line = join(end, i);  // fitted on the longer line, so it fits alone
        const QString longer_again = line + piece.Spaces + piece.Text;
        if (Extent(metrics, longer_again) <= width) {
          line = longer_again;
          continue;
        }
        end_line(i);
      }
    }
    if (Extent(metrics, piece.Text) <= width) {
      line = piece.Text;
      continue;
    }
    if (breaks != Breaks::Anywhere) return false;
    const QList<uint> code_points = piece.Text.toUcs4();
    for (const char32_t u : code_points) {
      const QString c = QString::fromUcs4(&u, 1);
      if (!line.isEmpty() && Extent(metrics, line + c) > width) end_line(i);
      line += c;
    }
  }
  if (!line.isEmpty()) lines.push_back(line);
  return true;
}

// From one line's top to the next: the font's line spacing, but never less than its height
// and a little air, since some Song faces give a negative leading and would overlap lines.
qreal LinePitch(const QFontMetricsF& metrics) {
  return std::max(metrics.lineSpacing(), metrics.height() * 1.08);
}

qreal BlockHeight(const QFontMetricsF& metrics, std::size_t lines) {
  return lines == 0 ? 0 : static_cast<qreal>(lines - 1) * LinePitch(metrics) + metrics.height();
}

CaptionLayout Place(const QFont& font, const std::vector<QString>& lines, const QRectF& area,
                    Qt::Alignment alignment, bool words_whole) {
  const QFontMetricsF metrics(font);
  CaptionLayout layout;
  layout.Font = font;
  layout.WordsWhole = words_whole;
  qreal top = area.top();
  if (alignment & Qt::AlignVCenter)
    top += std::max<qreal>(0, (area.height() - BlockHeight(metrics, lines.size())) / 2);
  for (const QString& text : lines) {
    const qreal width = metrics.horizontalAdvance(text);
    qreal left = area.left();
    if (alignment & Qt::AlignHCenter)
      left += std::max<qreal>(0, (area.width() - width) / 2);
    else if (alignment & Qt::AlignRight)
      left += std::max<qreal>(0, area.width() - width);
    layout.Lines.push_back({text, QRectF(left, top, width, metrics.height())});
    top += LinePitch(metrics);
  }
  return layout;
}

// The sizes to try from `from` down to `to` points, half a point apart, `to` last.
std::vector<qreal> SizesDown(qreal from, qreal to) {
  std::vector<qreal> sizes;
  for (qreal size = from; size > to; size -= 0.5) sizes.push_back(size);
  sizes.push_back(std::min(from, to));
  return sizes;
}

}  // namespace

CaptionLayout FitCaption(const QString& caption, const QFont& stated, const QRectF& area,
                         Qt::Alignment alignment) {
  constexpr qreal kSmallestPoints = 1;
  const std::vector<Piece> pieces = Pieces(caption);
  const qreal size = stated.pointSizeF() > 0 ? stated.pointSizeF() : 9;
  QFont font = stated;
  std::vector<QString> lines;
  for (const bool break_words : {false, true}) {
    const std::vector<qreal> sizes =
        break_words ? SizesDown(std::min(size, kSmallestWholeWordsPoints), kSmallestPoints)
                    : SizesDown(size, kSmallestWholeWordsPoints);
    for (qreal points : sizes) {
      font.setPointSizeF(points);
      const QFontMetricsF metrics(font);
      auto fits = [&](Breaks breaks) {
        return Arrange(pieces, metrics, area.width(), breaks, lines) &&
               BlockHeight(metrics, lines.size()) <= area.height();
      };
      if (break_words ? fits(Breaks::Anywhere) : fits(Breaks::AtPhrases) || fits(Breaks::AtWords))
        return Place(font, lines, area, alignment, !break_words);
    }
  }
  // Nothing fits the area even at the smallest size: shown from the top, as far as it goes.
  return Place(font, lines, area, alignment & ~Qt::AlignVCenter, false);
}

void DrawCaption(QPainter& painter, const CaptionLayout& layout) {
  painter.setFont(layout.Font);
  const qreal ascent = QFontMetricsF(layout.Font).ascent();
  for (const CaptionLayout::Line& line : layout.Lines)
    painter.drawText(QPointF(line.Box.left(), line.Box.top() + ascent), line.Text);
}

const CaptionLayout& FittedCaption::For(const QString& caption, const QFont& stated,
                                        const QRectF& area, Qt::Alignment alignment) {
  if (!made_ || caption != caption_ || stated != stated_ || area != area_ ||
      alignment != alignment_) {
    layout_ = FitCaption(caption, stated, area, alignment);
    caption_ = caption;
    stated_ = stated;
    area_ = area;
    alignment_ = alignment;
    made_ = true;
  }
  return layout_;
}

}  // namespace qtbind
