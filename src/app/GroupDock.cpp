#include "app/GroupDock.h"

#include <QListWidget>
#include <QMouseEvent>

#include "app/PictureView.h"
#include "core/ByGroupModule.h"
#include "core/Form.h"
#include "core/Groups.h"
#include "draw/HitTest.h"
#include "stats/ByGroupPlots.h"

GroupDock::GroupDock(Form& form, PictureView* picture, QWidget* parent)
    : QDockWidget(tr("Group"), parent), form_(form), picture_(picture), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("GroupDock"));
    list_->setObjectName(QStringLiteral("GroupList"));
    setWidget(list_);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row < 0 || !onChoose) return;
        onChoose(row == 0 ? std::string(AllGroups) : form_.groups[static_cast<std::size_t>(row - 1)].group);
    });
    if (picture_) picture_->installEventFilter(this);
}

void GroupDock::refresh() {
    const bool any = form_.HasData() && !form_.groups.empty();
    setVisible(any);
    if (!any) return;
    const auto entries = GroupListEntries(form_);
    std::string key;
    for (const auto& e : entries) key += e + '\n';
    if (key != shown_) {
        shown_ = key;
        list_->clear();
        for (const auto& e : entries) list_->addItem(QString::fromStdString(e));
    }
    // "All" in bold for the whole table; no row for a table of no listed group (a selection
    // being analysed).
    int current = form_.groupName.empty() ? 0 : -1;
    for (std::size_t g = 0; g < form_.groups.size(); ++g)
        if (form_.groups[g].group == form_.groupName) current = static_cast<int>(g) + 1;
    for (int r = 0; r < list_->count(); ++r) {
        QFont font = list_->item(r)->font();
        font.setBold(r == current);
        list_->item(r)->setFont(font);
    }
}

bool GroupDock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::MouseButtonPress && form_.HasData() &&
        picture_->width() > 0 && picture_->height() > 0) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Picture& pic = form_.Picture1;
        const float x = static_cast<float>(mouse->position().x() * pic.Width / picture_->width());
        const float y = static_cast<float>(mouse->position().y() * pic.Height / picture_->height());
        if (const auto hit = HitTest(pic, x, y, 60);
            hit && (hit->tag.series == GroupForestRow || hit->tag.series == GroupHeatCell)) {
            const std::size_t g = static_cast<std::size_t>(hit->tag.point - 1);
            if (g < form_.Module<ByGroupModule>().table.groups.size()) {
                const std::string& name = form_.Module<ByGroupModule>().table.groups[g];
                for (std::size_t k = 0; k < form_.groups.size(); ++k)
                    if (form_.groups[k].group == name) {
                        list_->setCurrentRow(static_cast<int>(k) + 1);
                        list_->scrollToItem(list_->currentItem());
                    }
            }
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
