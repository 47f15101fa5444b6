// The faces that draw the program's text, chosen here and nowhere else. Latin letters come
// from a Latin serif face whose l, 1 and I, and O and 0, look plainly different; Chinese from
// the Song face. A font asks for the Song face itself first (where it is installed it has
// clear Latin letters of its own and draws both), then the Latin face, then the free Song
// (Ming) faces: Qt takes each character from the first face that has it, so mixed text such
// as "X光" draws each script in its own face on one baseline.
#pragma once

#include <QFont>
#include <QStringList>

#include "ui/control.h"

namespace qtbind {

// The Latin serif face (Debian installs it with fonts-liberation).
inline constexpr char kLatinFace[] = "Liberation Serif";

// The faces a font asks for, in order, for the model's face `name` (empty: the Song face).
QStringList FaceFamilies(const std::string& name);

// The model's font as drawn: its size and weight in the faces above.
QFont ToQFont(const ui::Font& font);

// Every widget that is not given a font of its own (message boxes among them) draws in the
// model's default font in these faces.
void UseFacesForApplication();

}  // namespace qtbind
