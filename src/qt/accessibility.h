// What assistive technology learns of the program beyond what Qt's widgets tell by
// themselves. Every answer comes from the widgets and the model's controls, never from a
// model of its own: each window is a frame named by its title, a control whose purpose no
// caption states carries the name its form gave it, and a time bar is a progress bar whose
// value is the time left.
#pragma once

#include <QWidget>

#include "ui/control.h"

namespace qtbind {

// Registers the program's accessible interfaces with Qt; once per process is enough, and
// more calls do nothing.
void InstallAccessibility();

// Gives `widget` what its model says for assistive technology (the name, a time bar's
// value), and tells a time bar's change to whoever listens. Called whenever the model
// changes.
void DescribeForAccessibility(QWidget* widget, const ui::Control& model);

}  // namespace qtbind
