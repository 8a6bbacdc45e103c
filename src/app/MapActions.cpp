#include "app/MapActions.h"

#include <QFileDialog>
#include <QMenu>

#include "app/Paths.h"
#include "core/Animation.h"
#include "core/Form.h"
#include "core/MapModule.h"
#include "core/Marks.h"
#include "data/DataSearch.h"
#include "draw/RunError.h"
#include "map/Outlines.h"
#include "render/ApngWriter.h"
#include "render/PictureRenderer.h"

QString SaveAnimation(Form& f, const QString& path, int frameMs) {
    if (f.LastTimeLapse.empty())
        return QStringLiteral("Draw Map, Rank-Size, Rank-Spirel1 or Info-Spirel first: the time-lapse shows that picture");
    std::vector<QImage> images;
    try {
        for (const Picture& frame : AnimationFrames(f, f.LastTimeLapse))
            images.push_back(render::ToImage(frame, 1.0, MarkedPlaces(f)));
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    return render::WriteApng(images, frameMs, path);
}

QString AddOutline(Form& f, const QString& path) {
    const std::string file = path.toStdString();
    try {
        f.Module<MapModule>().state.outlinesRead[file] = ReadOutlines(file);
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    f.Module<MapModule>().state.outlineFiles.push_back(file);
    try {
        MapChoice_Changed(f);
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

void AddMapActions(QWidget* window, QMenu* file, Form& f, std::function<void(const QString&)> report,
                   std::function<void()> sync) {
    if (f.Module<MapModule>().state.outlineFiles.empty()) f.Module<MapModule>().state.outlineFiles = FindShippedOutlines(DataSearchFolders());
    file->addSeparator();
    file->addAction(QObject::tr("Save Animation..."), window, [window, &f, report, sync] {
        const QString path = QFileDialog::getSaveFileName(window, QObject::tr("Save Animation"),
                                                          QStringLiteral("time-lapse.png"),
                                                          QObject::tr("Animated PNG (*.png)"));
        if (path.isEmpty()) return;
        report(SaveAnimation(f, path));
        sync();
    });
    file->addAction(QObject::tr("Add Outline..."), window, [window, &f, report, sync] {
        const QString path = QFileDialog::getOpenFileName(
            window, QObject::tr("Add Outline"), QString(),
            QObject::tr("Vector files (*.json *.geojson *.topojson *.shp *.gpkg *.kml *.gml);;All files (*)"));
        if (path.isEmpty()) return;
        report(AddOutline(f, path));
        sync();
    });
}
