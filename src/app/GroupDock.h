#pragma once
#include <QDockWidget>
#include <functional>
#include <string>

class Form;
class QListWidget;
class PictureView;

// The Group list beside the window's stage: "All", then each group of the table with its
// number of places. A click on an entry installs that group (through onChoose); a click on a
// group's row or cell in a By-Group picture selects its entry, so one more click installs it.
class GroupDock : public QDockWidget {
    Q_OBJECT
public:
    GroupDock(Form& form, PictureView* picture, QWidget* parent = nullptr);
    std::function<void(const std::string& group)> onChoose;
    // Refills the list when the table or its groups changed; marks the installed group.
    void refresh();
    QListWidget* list() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form& form_;
    PictureView* picture_;
    QListWidget* list_;
    std::string shown_;  // what the list was filled for
};
