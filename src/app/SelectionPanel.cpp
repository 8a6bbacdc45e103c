#include "app/SelectionPanel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Brushing.h"
#include "core/Form.h"
#include "core/Marks.h"
#include "core/SelectionActions.h"

SelectionPanel::SelectionPanel(Form& form, Brushing& brushing, QMainWindow* window)
    : QWidget(window), form_(form), brushing_(brushing), window_(window) {
    setObjectName(QStringLiteral("SelectionPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("SelectionSummary"));
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("SelectionTable"));
    table_->setHorizontalHeaderLabels({tr("Place"), tr("Population")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    auto* buttons = new QHBoxLayout;
    auto* menu = window->menuBar()->addMenu(tr("&Selection"));
    auto add = [&](const QString& text, const std::function<void()>& act) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(text);
        connect(b, &QPushButton::clicked, this, act);
        buttons->addWidget(b);
        connect(menu->addAction(text), &QAction::triggered, this, act);
    };
    auto report = [this](const QString& error) {
        if (!error.isEmpty()) QMessageBox::warning(window_, window_->windowTitle(), error);
    };
    add(tr("Analyse selection"), [this, report] { report(analyse()); });
    add(tr("Save..."), [this, report] {
        const QString path = QFileDialog::getSaveFileName(window_, tr("Save Selection"), QStringLiteral("selection.txt"),
                                                          tr("Names, one a line (*.txt)"));
        if (!path.isEmpty()) report(save(path));
    });
    add(tr("Load..."), [this, report] {
        const QString path = QFileDialog::getOpenFileName(window_, tr("Load Selection"), {}, tr("Names, one a line (*.txt);;All files (*)"));
        if (!path.isEmpty()) report(load(path));
    });
    add(tr("Clear"), [this] { brushing_.clear(); });
    layout->addWidget(summary_);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    connect(&brushing_, &Brushing::selectionChanged, this, &SelectionPanel::refresh);
    // The convention stays in sight at the status bar's right.
    auto* hint = new QLabel(Brushing::hint(), window);
    hint->setObjectName(QStringLiteral("BrushHint"));
    window->statusBar()->addPermanentWidget(hint);
    refresh();
}

void SelectionPanel::refresh() {
    const std::string text = SelectionTableText(form_);
    setVisible(!text.empty());
    if (text.empty()) {
        // No selection any more: its summary leaves the status bar too.
        if (table_->rowCount() > 0 && window_->statusBar()->currentMessage() == summary_->text())
            window_->statusBar()->clearMessage();
        table_->setRowCount(0);
        return;
    }
    const DataSet& d = *form_.data;
    const int t = SelectionDate(form_);
    std::vector<int> places = form_.selection.Places();
    std::stable_sort(places.begin(), places.end(), [&](int a, int b) { return d.Pop(a, t) > d.Pop(b, t); });
    summary_->setText(QString::fromStdString(text.substr(0, text.find('\n'))));
    table_->setRowCount(static_cast<int>(places.size()));
    for (int row = 0; row < static_cast<int>(places.size()); ++row) {
        const int c = places[static_cast<std::size_t>(row)];
        const double v = d.Pop(c, t);
        table_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(d.CityName(c))));
        auto* pop = new QTableWidgetItem(v > 0 ? QString::number(v, 'f', 0) : QStringLiteral("-"));
        pop->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, 1, pop);
    }
    window_->statusBar()->showMessage(summary_->text());
}

QString SelectionPanel::analyse() {
    try {
        AnalyseSelection(form_);
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    if (onTableChanged) onTableChanged();
    brushing_.changed();
    return {};
}

QString SelectionPanel::save(const QString& path) {
    if (form_.selection.Empty()) return tr("No place is selected");
    try {
        WriteNameFile(*form_.data, form_.selection, path.toStdString());
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

QString SelectionPanel::load(const QString& path) {
    try {
        std::string file(1, '@');  // joined with append: g++ 12 misreads `"@" + s` at -O3
        file.append(path.toStdString());
        SelectFromList(form_, file);
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    brushing_.changed();
    return {};
}
