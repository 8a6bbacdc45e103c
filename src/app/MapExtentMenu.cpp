#include "app/MapExtentMenu.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <cstdio>

#include "core/Form.h"
#include "core/MapModule.h"
#include "draw/RunError.h"

namespace {
bool GroupInstalled(const Form& f) { return f.HasData() && f.wholeTable != nullptr; }
}  // namespace

std::optional<MapExtent> ExtentFor(const Form& f, MapFraming framing, const MapExtent& box) {
    if (framing == MapFraming::Box) return box;
    if (!f.HasData()) return std::nullopt;
    if (framing == MapFraming::Group) return GroupInstalled(f) ? PlacesExtent(*f.data) : std::nullopt;
    return GroupInstalled(f) ? PlacesExtent(*f.wholeTable) : std::nullopt;
}

MapExtentMenu::MapExtentMenu(QWidget* window, QMenu* menu, Form& f, std::function<void(const QString&)> report,
                             std::function<void()> sync)
    : QObject(window), form_(f) {
    if (const auto& given = f.Module<MapModule>().state.extent) {
        framing_ = MapFraming::Box;  // --extent on the command line
        box_ = *given;
    }
    QMenu* extent = menu->addMenu(tr("Map Extent"));
    auto* group = new QActionGroup(this);
    const QString names[3] = {tr("All Places"), tr("The Group"), tr("A Box of Degrees...")};
    for (int k = 0; k < 3; ++k) {
        actions_[k] = extent->addAction(names[k]);
        actions_[k]->setCheckable(true);
        group->addAction(actions_[k]);
    }
    actions_[static_cast<int>(framing_)]->setChecked(true);
    connect(actions_[0], &QAction::triggered, this, [this, report, sync] {
        report(choose(MapFraming::AllPlaces));
        sync();
    });
    connect(actions_[1], &QAction::triggered, this, [this, report, sync] {
        report(choose(MapFraming::Group));
        sync();
    });
    connect(actions_[2], &QAction::triggered, this, [this, window, report, sync] {
        char now[120];
        std::snprintf(now, sizeof now, "%g,%g,%g,%g", box_.west, box_.south, box_.east, box_.north);
        bool ok = false;
        const QString text = QInputDialog::getText(
            window, tr("Map Extent"), tr("West, south, east, north in degrees (e.g. -80,37,-66,48):"), QLineEdit::Normal,
            framing_ == MapFraming::Box ? QString::fromLatin1(now) : QString(), &ok);
        if (ok) report(choose(MapFraming::Box, text.trimmed().toStdString()));
        actions_[static_cast<int>(framing_)]->setChecked(true);
        sync();
    });
    connect(extent, &QMenu::aboutToShow, this, [this] { apply(); });
    apply();
}

QAction* MapExtentMenu::action(MapFraming framing) const { return actions_[static_cast<int>(framing)]; }

QString MapExtentMenu::choose(MapFraming framing, const std::string& box) {
    if (framing == MapFraming::Group && !GroupInstalled(form_))
        return tr("Choose a group in the Group list first: the map then frames its places");
    if (framing == MapFraming::Box) {
        try {
            box_ = ParseMapExtent(box);
        } catch (const RunError& e) {
            return QString::fromStdString(e.what());
        }
    }
    framing_ = framing;
    action(framing_)->setChecked(true);
    apply();
    // The map shown is framed anew, whole.
    if (form_.Module<MapModule>().state.shown) form_.Picture1.View.Reset();
    try {
        MapChoice_Changed(form_);
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

void MapExtentMenu::apply() {
    // A group gone: its framing falls back to every place.
    if (framing_ == MapFraming::Group && !GroupInstalled(form_)) {
        framing_ = MapFraming::AllPlaces;
        action(framing_)->setChecked(true);
    }
    action(MapFraming::Group)->setEnabled(GroupInstalled(form_));
    form_.Module<MapModule>().state.extent = ExtentFor(form_, framing_, box_);
}
