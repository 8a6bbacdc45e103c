#pragma once
// What the window and command-line tests share: the program run as a user runs it, files read
// and written whole, a shown window with its data loaded, and the wheel and drags a hand gives.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "TestForm.h"
#include "app/MainWindow.h"
#include "app/PictureSizeChooser.h"
#include "app/PictureView.h"
#include "render/PictureRenderer.h"

// Its exit status (-1 if it crashed) and what it printed.
struct Result { int status; QString out, err; };

inline Result RunCitysize(const QStringList& args, const QString& folder = {}) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(CITYSIZE_BINARY), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

inline QByteArray Read(const QString& path) { return QByteArray::fromStdString(FileBytes(path.toStdString())); }

inline QString Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
    return path;
}

// A shown window on `data` (errors kept off dialogs), ReadData clicked unless `load` is false.
struct ShownWindow {
    MainWindow w;
    explicit ShownWindow(const std::string& data = CITYSIZE_REAL_DATA, bool load = true) : w(std::make_unique<Form>(data)) {
        w.setShowErrorDialogs(false);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        if (load) w.runCommand("ReadData");
    }
    PictureView* view() { return w.pictureView(); }
    // A point of the picture (twips) on the view.
    QPoint at(double x, double y) { return {qRound(x * view()->width() / 9000.0), qRound(y * view()->width() / 9000.0)}; }
};

inline void Wheel(QWidget* view, QPointF at, int notches) {
    QWheelEvent e(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &e);
}

// Drags with the left button held from a to b, through points between.
inline void Drag(QWidget* w, QPoint a, QPoint b, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mousePress(w, Qt::LeftButton, mods, a);
    for (int k = 1; k <= 4; ++k) QTest::mouseMove(w, a + (b - a) * k / 4);
    QTest::mouseRelease(w, Qt::LeftButton, mods, b);
}
