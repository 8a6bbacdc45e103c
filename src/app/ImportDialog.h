#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "data/Import.h"

// What File > Open Data offers and a drop accepts: text tables, workbooks and GIS layers.
QString TableFileFilter();
bool IsTableFileName(const QString& path);

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// What a table will look like once loaded, before it is: the first rows as read, the
// layout, the name / group / ID columns, the dates, the unit, how absence is written, how
// many places are kept and the warnings. Every change re-reads the file's bytes with the
// new choices, so what the dialog shows is exactly what OK loads.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // `bytes` are the file's whole content; `preview` is what `options` gave on them.
    ImportDialog(QString path, std::string bytes, const ImportOptions& options, const ImportPreview& preview,
                 QWidget* parent = nullptr);

    const QString& path() const { return path_; }
    const ImportOptions& options() const { return options_; }
    const ImportPreview& preview() const { return preview_; }
    // Why the current choices cannot be loaded; empty when they can (OK is then enabled).
    const QString& error() const { return error_; }

    // The widgets, named for tests that drive the dialog without a person.
    QComboBox* layoutBox() const { return layout_; }
    QComboBox* columnBox(const char* which) const;  // "name", "group", "id", "year", "population"
    QListWidget* datesList() const { return dates_; }
    QComboBox* unitBox() const { return unit_; }
    QComboBox* partBox() const { return part_; }  // the sheet or layer; hidden for a text file
    QPushButton* proposedUnitButton() const { return useProposed_; }
    QSpinBox* topBox() const { return top_; }
    QTableWidget* rowsView() const { return rows_; }
    QLabel* summaryLabel() const { return summary_; }
    QPlainTextEdit* warningsView() const { return warnings_; }

private:
    void readWidgets();  // the choices shown -> options_, then a new preview
    void showPreview();  // preview_ -> every widget, without firing their signals
    void fillColumnBox(QComboBox* box, const std::string& current, bool allowNone);

    QString path_;
    std::string bytes_;
    ImportOptions options_;
    ImportPreview preview_;
    QString error_;
    // The date columns offered: every one any preview has found, so unchecking a column
    // keeps it in the list to check again.
    std::vector<std::pair<std::string, int16_t>> dateChoices_;

    QComboBox* layout_ = nullptr;
    QComboBox *name_ = nullptr, *group_ = nullptr, *id_ = nullptr, *year_ = nullptr, *population_ = nullptr;
    QListWidget* dates_ = nullptr;
    QComboBox* unit_ = nullptr;
    QComboBox* part_ = nullptr;
    QLabel* partLabel_ = nullptr;
    QLabel* unitHint_ = nullptr;
    QPushButton* useProposed_ = nullptr;
    QSpinBox* top_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* errorLabel_ = nullptr;
    QTableWidget* rows_ = nullptr;
    QPlainTextEdit* warnings_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QWidget* wideOnly_ = nullptr;
    QWidget* longOnly_ = nullptr;
};
