#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "map/MapExtent.h"

class Form;
class QAction;
class QMenu;
class QWidget;

// What the map frames, chosen in the Map menu: every place of the table (also while a group is
// installed: the group is then seen within the whole table's extent), the installed group's
// places framed as a box is, or a box of degrees typed as W,S,E,N.
enum class MapFraming { AllPlaces, Group, Box };

// The extent the map is given for a framing and the table now installed: none (the places
// themselves) for every place of a whole table.
std::optional<MapExtent> ExtentFor(const Form& f, MapFraming framing, const MapExtent& box);

class MapExtentMenu : public QObject {
    Q_OBJECT
public:
    // Adds "Map Extent" to `menu`; `sync` shows the form again after a choice.
    MapExtentMenu(QWidget* window, QMenu* menu, Form& f, std::function<void(const QString&)> report,
                  std::function<void()> sync);

    // A choice made as the menu makes it, without its dialog (a box as "W,S,E,N"); the map is
    // drawn anew when it is shown. Returns an empty text or the error (the choice then stays).
    QString choose(MapFraming framing, const std::string& box = {});
    MapFraming framing() const { return framing_; }
    QAction* action(MapFraming framing) const;
    // Gives the map the extent of the choice for the table installed now (a group may have come
    // or gone since the choice); "The Group" is offered only while one is installed.
    void apply();

private:
    Form& form_;
    MapFraming framing_ = MapFraming::AllPlaces;
    MapExtent box_;
    QAction* actions_[3] = {};
};
