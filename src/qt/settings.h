// The learner's settings file: $XDG_CONFIG_HOME/vantle/vantle.ini (~/.config/vantle/ when
// unset), or another file a test names. The program writes it only when a setting changes.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace qtbind {

// The settings in `file`, or in the learner's settings file when `file` is empty.
std::unique_ptr<QSettings> OpenSettings(const QString& file);

}  // namespace qtbind
