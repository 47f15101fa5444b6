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
  bool new_line = false;  // the caption breaks the line before it
  QString spaces;         // shown only when the piece goes on the line of the one before
  QString text;
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
      next.spaces += QString::fromUcs4(&c, 1);
      open = false;
    } else {
      if (open && !MayBreakBetween(last, c)) {
        pieces.back().text += QString::fromUcs4(&c, 1);
      } else {
        next.text = QString::fromUcs4(&c, 1);
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
  return !piece.text.isEmpty() && kEnders.contains(piece.text.back());
}

// The widths of the pieces and of the spaces before them, measured once at the stated size
// and scaled for the others. A line is filled by adding these up (shaping every candidate
// line at every size would cost many times more); the lines made are measured whole at the
// end, so an estimate a little off only costs a size.
struct Widths {
  Widths(const std::vector<Piece>& pieces, const QFontMetricsF& metrics) {
    for (const Piece& piece : pieces) {
      text.push_back(metrics.horizontalAdvance(piece.text));
      spaces.push_back(piece.spaces.isEmpty() ? 0 : metrics.horizontalAdvance(piece.spaces));
    }
  }
  Widths Scaled(qreal factor) const {
    Widths scaled = *this;
    for (qreal& w : scaled.text) w *= factor;
    for (qreal& w : scaled.spaces) w *= factor;
    return scaled;
  }
  std::vector<qreal> text, spaces;
};

// The lines made so far and the one being filled.
class LineFill {
 public:
  LineFill(const std::vector<Piece>& pieces, const Widths& widths, std::vector<QString>& lines)
      : pieces_(pieces), widths_(widths), lines_(lines) {
    lines_.clear();
  }

  bool Empty() const { return line_.isEmpty(); }
  qreal Used() const { return used_; }
  std::size_t First() const { return first_; }
  // Whether piece `i` still fits on the line, after its spaces.
  bool Fits(std::size_t i, qreal width) const {
    return used_ + widths_.spaces[i] + widths_.text[i] <= width;
  }
  // Adds piece `i` to the line, after its spaces.
  void Add(std::size_t i) {
    line_ += pieces_[i].spaces + pieces_[i].text;
    used_ += widths_.spaces[i] + widths_.text[i];
  }
  // The line becomes pieces [from, to).
  void Take(std::size_t from, std::size_t to) {
    line_ = pieces_[from].text;
    used_ = widths_.text[from];
    for (std::size_t k = from + 1; k < to; ++k) Add(k);
    first_ = from;
  }
  // Adds one character of piece `i`, `advance` wide.
  void AddCharacter(std::size_t i, const QString& c, qreal advance) {
    line_ += c;
    used_ += advance;
    first_ = i;
  }
  void End() {
    lines_.push_back(line_);
    line_.clear();
    used_ = 0;
  }
  void Finish() {
    if (!line_.isEmpty()) lines_.push_back(line_);
  }

 private:
  const std::vector<Piece>& pieces_;
  const Widths& widths_;
  std::vector<QString>& lines_;
  QString line_;
  qreal used_ = 0;         // the width of `line_`
  std::size_t first_ = 0;  // the first piece on `line_`
};

// The piece after the last phrase's end on the line before piece `i`, or `i` when none ends
// there.
std::size_t PhraseEnd(const std::vector<Piece>& pieces, const LineFill& fill, std::size_t i) {
  for (std::size_t k = i - 1; k > fill.First(); --k)
    if (EndsPhrase(pieces[k - 1])) return k;
  return i;
}

// Fills lines no wider than `width`, piece by piece; false when a piece alone is wider and
// may not be broken. A broken piece is cut between characters, as late as it fits.
bool Arrange(const std::vector<Piece>& pieces, const Widths& widths, const QFontMetricsF& metrics,
             qreal width, Breaks breaks, std::vector<QString>& lines) {
  LineFill fill(pieces, widths, lines);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& piece = pieces[i];
    if (piece.new_line && i > 0) fill.End();
    if (!fill.Empty()) {
      if (fill.Fits(i, width)) {
        fill.Add(i);
        continue;
      }
      const std::size_t end = breaks == Breaks::AtPhrases ? PhraseEnd(pieces, fill, i) : i;
      if (end < i) {
        // The line ends after the phrase; the rest of it goes on with this piece.
        fill.Take(fill.First(), end);
        fill.End();
        fill.Take(end, i + 1);
        if (fill.Used() <= width) continue;
        fill.Take(end, i);
      }
      fill.End();
    }
    if (widths.text[i] <= width) {
      fill.Take(i, i + 1);
      continue;
    }
    if (breaks != Breaks::Anywhere) return false;
    for (const char32_t u : piece.text.toUcs4()) {
      const QString c = QString::fromUcs4(&u, 1);
      const qreal advance = metrics.horizontalAdvance(c);
      if (!fill.Empty() && fill.Used() + advance > width) fill.End();
      fill.AddCharacter(i, c, advance);
    }
  }
  fill.Finish();
  return true;
}

// Shaped whole, a line can come out a little wider than its parts added up.
bool AllWithin(const std::vector<QString>& lines, const QFontMetricsF& metrics, qreal width) {
  return std::all_of(lines.begin(), lines.end(),
                     [&](const QString& text) { return Extent(metrics, text) <= width; });
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
  layout.font = font;
  layout.words_whole = words_whole;
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
    layout.lines.push_back({text, QRectF(left, top, width, metrics.height())});
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
  if (caption.isEmpty()) return CaptionLayout{stated, {}, true};  // a time bar: nothing to fit
  const std::vector<Piece> pieces = Pieces(caption);
  const qreal size = stated.pointSizeF() > 0 ? stated.pointSizeF() : 9;
  QFont font = stated;
  font.setPointSizeF(size);
  const Widths measured(pieces, QFontMetricsF(font));
  std::vector<QString> lines;
  for (const bool break_words : {false, true}) {
    const std::vector<qreal> sizes =
        break_words ? SizesDown(std::min(size, kSmallestWholeWordsPoints), kSmallestPoints)
                    : SizesDown(size, kSmallestWholeWordsPoints);
    for (qreal points : sizes) {
      font.setPointSizeF(points);
      const QFontMetricsF metrics(font);
      const Widths widths = measured.Scaled(points / size);
      auto fits = [&](Breaks breaks) {
        return Arrange(pieces, widths, metrics, area.width(), breaks, lines) &&
               BlockHeight(metrics, lines.size()) <= area.height() &&
               AllWithin(lines, metrics, area.width());
      };
      if (break_words ? fits(Breaks::Anywhere) : fits(Breaks::AtPhrases) || fits(Breaks::AtWords))
        return Place(font, lines, area, alignment, !break_words);
    }
  }
  // Nothing fits the area even at the smallest size: shown from the top, as far as it goes.
  return Place(font, lines, area, alignment & ~Qt::AlignVCenter, false);
}

void DrawCaption(QPainter& painter, const CaptionLayout& layout) {
  painter.setFont(layout.font);
  const qreal ascent = QFontMetricsF(layout.font).ascent();
  for (const CaptionLayout::Line& line : layout.lines)
    painter.drawText(QPointF(line.box.left(), line.box.top() + ascent), line.text);
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
