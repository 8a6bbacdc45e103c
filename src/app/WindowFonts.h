#pragma once
#include <QFont>
#include <QString>

// The printed text is set in DejaVu Sans Mono, which the program depends on; a system that
// lacks it gets its fixed font, so columns still line up.
QString MonoFamily();
QFont MonoFont(double points);
