// Conversions between the windowing layer's values and Qt's: twips to pixels, model text to
// shown text, colours, and the picture type the Qt platform hands out.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <string>

#include "ui/control.h"
#include "ui/window.h"

namespace qtbind {

// 1440 twips to the inch at 96 logical pixels to the inch.
inline constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels, rounded to the nearest pixel (the model itself never rounds).
int ToPixels(int twips);
// The control's rectangle in logical pixels, relative to its window's client area.
QRect PixelRect(const ui::Control& control);

// Model text (UTF-8) as shown: a CR LF, a lone CR and a lone LF each end a line.
QString ToShownText(const std::string& utf8);
// Shown text laid out for a multi-line box: the same lines, but grouped into paragraphs
// (ended by an empty line, at most a few lines each) held together by line separators, so a
// long list becomes a third as many text blocks and fills the box three times as fast.
QString ToDocumentText(QString shown);
// Text the user typed, for the model.
std::string ToModelText(const QString& text);

// 0x00BBGGRR as a Qt colour.
QColor ToQColor(ui::Color color);

// A background picture loaded by the Qt platform.
class QtPicture : public ui::Picture {
 public:
  explicit QtPicture(QPixmap pixmap) : pixmap_(std::move(pixmap)) {}
  const QPixmap& Pixmap() const { return pixmap_; }

 private:
  QPixmap pixmap_;
};

}  // namespace qtbind
