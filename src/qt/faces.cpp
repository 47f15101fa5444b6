#include "qt/faces.h"

#include <QApplication>

namespace qtbind {

namespace {

// The Song face under both its names; on a system that has it, it draws Latin letters too.
const QStringList& SongFace() {
  static const QStringList kFaces{QStringLiteral("宋体"), QStringLiteral("SimSun")};
  return kFaces;
}

// Where the Song face is missing: the nearest free Song (Ming) face, then faces that hold
// Chinese on any machine, so that Chinese never shows as empty boxes.
const QStringList& ChineseFallbacks() {
  static const QStringList kFaces{
      QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
  return kFaces;
}

}  // namespace

QStringList FaceFamilies(const std::string& name) {
  QStringList families = SongFace();
  families.append(QString::fromLatin1(kLatinFace));
  families.append(ChineseFallbacks());
  const QString face = QString::fromStdString(name);
  if (!face.isEmpty() && !families.contains(face)) families.prepend(face);
  return families;
}

QFont ToQFont(const ui::Font& font) {
  QFont q;
  q.setFamilies(FaceFamilies(font.name));
  q.setPointSizeF(font.size > 0 ? font.size : 9);
  q.setBold(font.bold);
  return q;
}

void UseFacesForApplication() {
  QApplication::setFont(ToQFont(ui::Font{}));
}

}  // namespace qtbind
