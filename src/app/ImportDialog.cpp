#include "app/ImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "data/OgrReader.h"
#include "draw/RunError.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString LayoutName(TableLayout layout) {
    switch (layout) {
    case TableLayout::Plain: return QObject::tr("no header: a name, then one population per date");
    case TableLayout::Wide: return QObject::tr("wide: a header, one column per date");
    case TableLayout::Long: return QObject::tr("long: one row per place and date");
    case TableLayout::Auto: break;
    }
    return QObject::tr("detected from the file");
}

// Values in the unit box: a plain number, as typed ("1000", "0.001"); 0 when it is none.
double ParseUnit(const QString& text) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && v > 0 ? v : 0;
}

const char* const TableSuffixes[] = {"csv", "txt", "tsv", "tab", "xlsx", "xls", "ods", "gpkg",
                                     "shp", "geojson", "json", "fgb", "kml", "gml", "sqlite"};

}  // namespace

QString TableFileFilter() {
    QStringList patterns;
    for (const char* s : TableSuffixes) patterns << QStringLiteral("*.") + QLatin1String(s);
    return QObject::tr("City tables (%1);;All files (*)").arg(patterns.join(QLatin1Char(' ')));
}

bool IsTableFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return std::any_of(std::begin(TableSuffixes), std::end(TableSuffixes),
                       [&](const char* s) { return suffix.compare(QLatin1String(s), Qt::CaseInsensitive) == 0; });
}

ImportDialog::ImportDialog(QString path, std::string bytes, const ImportOptions& options,
                           const ImportPreview& preview, QWidget* parent)
    : QDialog(parent), path_(std::move(path)), bytes_(std::move(bytes)), options_(options), preview_(preview) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(tr("Open %1").arg(QFileInfo(path_).fileName()));

    layout_ = new QComboBox(this);
    for (TableLayout l : {TableLayout::Plain, TableLayout::Wide, TableLayout::Long})
        layout_->addItem(LayoutName(l), static_cast<int>(l));
    name_ = new QComboBox(this);
    group_ = new QComboBox(this);
    id_ = new QComboBox(this);
    year_ = new QComboBox(this);
    population_ = new QComboBox(this);
    dates_ = new QListWidget(this);
    dates_->setMaximumHeight(150);
    unit_ = new QComboBox(this);
    unit_->setEditable(true);
    unit_->addItems({QStringLiteral("1"), QStringLiteral("1000")});
    unit_->setToolTip(tr("Every value is multiplied by it: 1000 for a table in thousands"));
    top_ = new QSpinBox(this);
    top_->setRange(0, 10000000);
    top_->setSpecialValueText(tr("all"));
    top_->setToolTip(tr("Keep the places that rank among the N largest at one date or more (0: all)"));
    part_ = new QComboBox(this);
    part_->setToolTip(tr("The sheet of the workbook, or the layer of the file, to read"));
    // The proposed unit is offered, never applied unasked.
    unitHint_ = new QLabel(this);
    unitHint_->setWordWrap(true);
    useProposed_ = new QPushButton(tr("Use 1000"), this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    errorLabel_ = new QLabel(this);
    errorLabel_->setWordWrap(true);
    errorLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
    errorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows_ = new QTableWidget(this);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->verticalHeader()->setDefaultSectionSize(rows_->fontMetrics().height() + 6);
    warnings_ = new QPlainTextEdit(this);
    warnings_->setReadOnly(true);
    warnings_->setMaximumHeight(90);
    warnings_->setPlaceholderText(tr("No warnings"));

    // The wide layout names its dates by columns; the long one by a year and a population column.
    wideOnly_ = new QWidget(this);
    auto* wideForm = new QFormLayout(wideOnly_);
    wideForm->setContentsMargins(0, 0, 0, 0);
    wideForm->addRow(tr("Date columns:"), dates_);
    longOnly_ = new QWidget(this);
    auto* longForm = new QFormLayout(longOnly_);
    longForm->setContentsMargins(0, 0, 0, 0);
    longForm->addRow(tr("Year column:"), year_);
    longForm->addRow(tr("Population column:"), population_);

    auto* form = new QFormLayout;
    partLabel_ = new QLabel(this);
    form->addRow(partLabel_, part_);
    form->addRow(tr("Layout:"), layout_);
    form->addRow(tr("Name column:"), name_);
    form->addRow(tr("Group column:"), group_);
    form->addRow(tr("ID column:"), id_);
    form->addRow(wideOnly_);
    form->addRow(longOnly_);
    form->addRow(tr("Unit:"), unit_);
    form->addRow(unitHint_);
    form->addRow(useProposed_);
    form->addRow(tr("Keep the top:"), top_);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("The first rows as read:"), this));
    right->addWidget(rows_, 1);
    right->addWidget(summary_);
    right->addWidget(new QLabel(tr("Warnings:"), this));
    right->addWidget(warnings_);
    right->addWidget(errorLabel_);

    auto* top = new QHBoxLayout;
    top->addLayout(form, 0);
    top->addLayout(right, 1);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("Load"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addWidget(buttons_);

    showPreview();

    connect(layout_, qOverload<int>(&QComboBox::activated), this, [this] { readWidgets(); });
    for (QComboBox* box : {name_, group_, id_, year_, population_})
        connect(box, qOverload<int>(&QComboBox::activated), this, [this] { readWidgets(); });
    connect(dates_, &QListWidget::itemChanged, this, [this] { readWidgets(); });
    connect(unit_, &QComboBox::currentTextChanged, this, [this] { readWidgets(); });
    connect(top_, qOverload<int>(&QSpinBox::valueChanged), this, [this] { readWidgets(); });
    connect(part_, qOverload<int>(&QComboBox::activated), this, [this] { readWidgets(); });
    connect(useProposed_, &QPushButton::clicked, this, [this] { unit_->setCurrentText(QStringLiteral("1000")); });
    resize(1100, 640);
}

QComboBox* ImportDialog::columnBox(const char* which) const {
    const std::string w = which;
    return w == "name" ? name_ : w == "group" ? group_ : w == "id" ? id_ : w == "year" ? year_
         : w == "population" ? population_ : nullptr;
}

void ImportDialog::fillColumnBox(QComboBox* box, const std::string& current, bool allowNone) {
    box->clear();
    if (allowNone) box->addItem(tr("(none)"), QString::fromLatin1(NoColumn));
    for (const std::string& c : preview_.columns) box->addItem(Q(c), Q(c));
    box->setCurrentIndex(std::max(0, box->findData(Q(current))));
    box->setEnabled(!preview_.columns.empty());
}

void ImportDialog::readWidgets() {
    ImportOptions o = options_;
    const auto chosenLayout = static_cast<TableLayout>(layout_->currentData().toInt());
    const bool layoutChanged = chosenLayout != preview_.layout;
    if (layoutChanged) o.layout = chosenLayout;
    const std::string part = part_->currentText().toStdString();
    const bool partChanged = !preview_.parts.empty() && part != preview_.part;
    if (partChanged) o.part = part;
    if (layoutChanged || partChanged) {
        // Columns chosen for one layout mean nothing in another: detect them afresh.
        o.name.clear(), o.group.clear(), o.id.clear(), o.year.clear(), o.population.clear(), o.dates.clear();
        dateChoices_.clear();
    } else {
        // A column left as detected stays "detected", so a new layout or unit keeps detecting it.
        const auto chosen = [](QComboBox* box, const std::string& detected, std::string& option) {
            const std::string c = box->currentData().toString().toStdString();
            if (c != detected) option = c;
        };
        chosen(name_, preview_.nameColumn, o.name);
        chosen(group_, preview_.groupColumn, o.group);
        chosen(id_, preview_.idColumn, o.id);
        chosen(year_, preview_.yearColumn, o.year);
        chosen(population_, preview_.populationColumn, o.population);
        std::vector<std::string> checked;
        for (int i = 0; i < dates_->count(); ++i)
            if (dates_->item(i)->checkState() == Qt::Checked)
                checked.push_back(dates_->item(i)->data(Qt::UserRole).toString().toStdString());
        o.dates = static_cast<int>(checked.size()) == dates_->count() && options_.dates.empty() ? std::vector<std::string>{}
                                                                                                : checked;
    }
    o.top = top_->value();
    const double unit = ParseUnit(unit_->currentText());
    if (unit <= 0) {
        error_ = tr("The unit must be a positive number, e.g. 1 or 1000");
        errorLabel_->setText(error_);
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
        return;
    }
    o.unit = unit;
    try {
        // A workbook or layer is read again through GDAL; a text file from its bytes.
        preview_ = IsOgrFile(path_.toStdString()) ? ImportFile(path_.toStdString(), o).preview
                                                  : PreviewTable(bytes_, path_.toStdString(), o);
        options_ = o;
        error_.clear();
    } catch (const RunError& e) {
        error_ = QString::fromUtf8(e.what());
    }
    // Show the new preview, or keep the last good one beside the error.
    if (error_.isEmpty()) showPreview();
    errorLabel_->setText(error_);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(error_.isEmpty());
}

void ImportDialog::showPreview() {
    const ImportPreview& p = preview_;
    const QSignalBlocker b1(layout_), b2(name_), b3(group_), b4(id_), b5(year_), b6(population_), b7(dates_),
        b8(unit_), b9(top_), b10(part_);
    part_->clear();
    for (const std::string& name : p.parts) part_->addItem(Q(name));
    part_->setCurrentIndex(std::max(0, part_->findText(Q(p.part))));
    const bool workbook = p.source.find(", sheet ") != std::string::npos;
    partLabel_->setText(workbook ? tr("Sheet:") : tr("Layer:"));
    part_->setVisible(!p.parts.empty());
    partLabel_->setVisible(!p.parts.empty());
    unitHint_->setText(p.proposedUnit > 0 ? tr("Proposed unit %1: %2").arg(p.proposedUnit).arg(Q(p.unitReason)) : QString());
    unitHint_->setVisible(p.proposedUnit > 0);
    useProposed_->setVisible(p.proposedUnit > 0);
    layout_->setCurrentIndex(std::max(0, layout_->findData(static_cast<int>(p.layout))));
    fillColumnBox(name_, p.nameColumn, false);
    fillColumnBox(group_, p.groupColumn, true);
    fillColumnBox(id_, p.idColumn, true);
    fillColumnBox(year_, p.yearColumn, false);
    fillColumnBox(population_, p.populationColumn, false);
    wideOnly_->setVisible(p.layout != TableLayout::Long);
    longOnly_->setVisible(p.layout == TableLayout::Long);

    // Every date column seen so far, by year; those of this preview checked.
    for (const auto& d : p.dateColumns)
        if (std::find(dateChoices_.begin(), dateChoices_.end(), d) == dateChoices_.end()) dateChoices_.push_back(d);
    std::stable_sort(dateChoices_.begin(), dateChoices_.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    dates_->clear();
    for (const auto& [header, year] : dateChoices_) {
        auto* item = new QListWidgetItem(header == std::to_string(year) || header.empty()
                                             ? QString::number(year)
                                             : tr("%1 (%2)").arg(Q(header)).arg(year),
                                         dates_);
        item->setData(Qt::UserRole, Q(header));
        // The header-less layout has no columns to choose: its dates are fixed.
        item->setFlags(p.layout == TableLayout::Plain ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool used = std::find(p.dateColumns.begin(), p.dateColumns.end(), std::make_pair(header, year)) !=
                          p.dateColumns.end();
        item->setCheckState(used ? Qt::Checked : Qt::Unchecked);
    }
    if (ParseUnit(unit_->currentText()) != p.unit) unit_->setCurrentText(QLocale::c().toString(p.unit, 'g', 12));
    top_->setValue(options_.top);

    std::size_t width = p.columns.size();
    for (const auto& row : p.firstRows) width = std::max(width, row.size());
    rows_->clear();
    rows_->setColumnCount(static_cast<int>(width));
    rows_->setRowCount(static_cast<int>(p.firstRows.size()));
    QStringList headers;
    for (std::size_t c = 0; c < width; ++c)
        headers << (c < p.columns.size() ? Q(p.columns[c]) : QString::number(c + 1));
    rows_->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < p.firstRows.size(); ++r)
        for (std::size_t c = 0; c < p.firstRows[r].size(); ++c)
            rows_->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(Q(p.firstRows[r][c])));
    rows_->resizeColumnsToContents();

    QString span;
    if (!p.dateColumns.empty())
        span = tr("%n date(s), %1-%2", nullptr, static_cast<int>(p.dateColumns.size()))
                   .arg(p.dateColumns.front().second)
                   .arg(p.dateColumns.back().second);
    const QLocale here = QLocale::system();
    const QString positions =
        p.latColumn.empty() ? tr("no coordinates found")
        : p.latColumn == "geometry"
            ? tr("positions from the layer's geometry (%1 places)").arg(here.toString(p.positioned))
            : tr("positions from %1 / %2 (%3 places)")
                  .arg(Q(p.latColumn).toHtmlEscaped(), Q(p.lonColumn).toHtmlEscaped(), here.toString(p.positioned));
    summary_->setText(tr("<b>%1 of %2 places kept</b>; %3; %6.<br>Read as %4; absence written as %5.")
                          .arg(here.toString(p.kept), here.toString(p.places), span, Q(p.encoding),
                               p.absence.empty() ? tr("nothing (every cell has a value)") : Q(p.absence).toHtmlEscaped(),
                               positions));
    QStringList warnings;
    for (const std::string& w : p.warnings) warnings << Q(w);
    warnings_->setPlainText(warnings.join(QLatin1Char('\n')));
}
