#include "qt/settings.h"

namespace qtbind {

std::unique_ptr<QSettings> OpenSettings(const QString& file) {
  if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("vantle"), QStringLiteral("vantle"));
}

}  // namespace qtbind
