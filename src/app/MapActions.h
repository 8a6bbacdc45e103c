#pragma once
#include <QString>
#include <functional>

class Form;
class QMenu;
class QWidget;

// What the window does for the map and the time-lapses, callable without dialogs: each
// returns an empty text or the error.

// File > Save Animation: the time-lapse of the last command that has one, as an animated PNG,
// the pinned place emphasised in every frame.
QString SaveAnimation(Form& f, const QString& path, int frameMs = 800);

// File > Add Outline: the lines of a vector file drawn on the map from now on (read at once,
// so a file GDAL cannot read is reported here); the map is redrawn if it is shown.
QString AddOutline(Form& f, const QString& path);

// The shipped outlines for the form, and the two entries in the File menu. `report` shows an
// error, `sync` makes the window show the form again.
void AddMapActions(QWidget* window, QMenu* file, Form& f, std::function<void(const QString&)> report,
                   std::function<void()> sync);
