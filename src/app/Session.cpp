#include "app/Session.h"

#include "app/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

#include "core/Animation.h"
#include "core/Form.h"
#include "core/Groups.h"
#include "core/MapModule.h"
#include "core/Marks.h"
#include "core/SelectionActions.h"
#include "data/DataSearch.h"
#include "draw/RunError.h"
#include "render/ApngWriter.h"
#include "render/PictureRenderer.h"
#include "render/PngWriter.h"

OffscreenApp::OffscreenApp() {
    if (QGuiApplication::instance()) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder; without one it warns on every run.
        const QString dir = QDir::tempPath() + QStringLiteral("/citysize-runtime-") + QString::number(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
    }
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

std::string DataPath(const RunOptions& o, const std::vector<std::string>& folders) {
    return o.dataDir.empty() ? FindDataFile(folders) : o.dataDir;
}

void SetUpForm(Form& f, const RunOptions& o, const std::vector<std::string>& folders) {
    f.Import = o.import;
    MapState& map = f.Module<MapModule>().state;
    map.outlineFiles = FindShippedOutlines(folders);
    map.outlineFiles.insert(map.outlineFiles.end(), o.outlines.begin(), o.outlines.end());
    map.extent = o.extent;
    if (o.labels >= 0) map.labelCount = o.labels;
    if (o.size) f.Picture1.Width = 15.0f * o.size->width, f.Picture1.Height = 15.0f * o.size->height;
    for (const auto& [name, value] : o.tailFit) f.SetOption(name, value);
}

void Step(Form& f, const std::string& step, const TextSource* memory) {
    if (memory && step == "ReadData") {
        // As Load Data, from the bytes: read into a fresh data set, so a failed read changes nothing.
        ImportResult loaded = ImportTable(memory->bytes, memory->source, f.Import);
        f.LoadWarnings = loaded.preview.warnings;
        f.InstallData(std::move(loaded.data), memory->source);
        return;
    }
    auto eq = step.find('=');
    if (eq == std::string::npos) {
        f.Click(step);
        return;
    }
    const std::string list = step.substr(0, eq), entry = step.substr(eq + 1);
    const Control* c = f.panel.Find(list);
    if (!c || c->kind != ControlKind::List) throw RunError("\"" + list + "\" is not a list (use BackMap, Cities or Dates)");
    f.ChooseText(list, entry);
}

namespace {

// --select, --pin and --in-selection once the data is in, so that every picture drawn after
// marks them.
void SelectAfterLoading(Form& f, const RunOptions& o) {
    if (!o.select.empty()) {
        try {
            SelectFromList(f, o.select);
        } catch (const RunError& e) {
            throw RunError(std::string("--select: ") + e.what());
        }
    }
    if (o.inSelection) AnalyseSelection(f);
    if (!o.pin.empty()) f.Pinned = FindPlace(f, o.pin);
    RemarkPlaces(f);
}

}  // namespace

std::string RunSteps(Form& f, const RunOptions& o, const std::function<void(const std::string&)>& warn,
                     const TextSource* memory) {
    for (const auto& step : o.steps) {
        try {
            f.LoadWarnings.clear();
            Step(f, step, memory);
            if (step == "ReadData" && !o.in.empty()) ChooseGroup(f, o.in);
            if (step == "ReadData") SelectAfterLoading(f, o);
            for (const auto& w : f.LoadWarnings) warn(f.DataTitle + ": " + w);
        } catch (const RunError& e) {
            return step + ": " + e.what();
        }
    }
    return {};
}

int FindPlace(const Form& f, const std::string& name) {
    if (name.empty() || !f.HasData()) return 0;
    for (int c = 1; c <= f.data->NumCities; ++c)
        if (f.data->CityName(c) == name) return c;
    return 0;
}

std::string WriteAnimation(Form& f, const RunOptions& o, AtomicFiles& files) {
    std::string control;
    for (const auto& step : o.steps)
        if (Animates(f, step)) control = step;
    if (control.empty()) return "--animate and --frames need Map, Rank, RankSpirel1 or InfoSpirel among the controls";
    std::vector<QImage> images;
    try {
        for (const Picture& frame : AnimationFrames(f, control)) images.push_back(render::ToImage(frame, o.scale, MarkedPlaces(f)));
    } catch (const RunError& e) {
        return control + ": " + e.what();
    }
    if (!o.frames.empty()) {
        const QString dir = QString::fromStdString(files.Folder(o.frames));
        for (std::size_t i = 0; i < images.size(); ++i) {
            const QString name = QStringLiteral("%1/frame-%2.png").arg(dir).arg(i + 1, 2, 10, QLatin1Char('0'));
            const QString error = render::WritePng(images[i], name);
            if (!error.isEmpty()) return error.toStdString();
        }
    }
    if (!o.animate.empty()) {
        const QString error = render::WriteApng(images, o.frameMs, QString::fromStdString(files.File(o.animate)));
        if (!error.isEmpty()) return error.toStdString();
    }
    return {};
}
