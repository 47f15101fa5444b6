#include "qt/convert.h"

#include <cmath>

namespace qtbind {

int ToPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QRect PixelRect(const ui::Control& control) {
  return {ToPixels(control.Left()), ToPixels(control.Top()), ToPixels(control.Width()),
          ToPixels(control.Height())};
}

QString ToShownText(const std::string& utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  if (text.contains(QLatin1Char('\r'))) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  }
  return text;
}

QString ToDocumentText(QString shown) {
  constexpr int kMaxLinesPerBlock = 8;
  int lines_in_block = 1;
  qsizetype line_start = 0;
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown[i] != QLatin1Char('\n')) continue;
    const bool empty_line = i == line_start;
    if (!empty_line && lines_in_block < kMaxLinesPerBlock) {
      shown[i] = QChar::LineSeparator;
      ++lines_in_block;
    } else {
      lines_in_block = 1;
    }
    line_start = i + 1;
  }
  return shown;
}

std::string ToModelText(const QString& text) {
  return text.toStdString();
}

QColor ToQColor(ui::Color color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace qtbind
