#pragma once
#include <QWidget>
#include <functional>

class Brushing;
class Form;
class QLabel;
class QMainWindow;
class QTableWidget;

// The selection under the text: its places with their population at the date, the count and
// the total; Analyse selection, Save, Load and Clear beside them and in a Selection menu.
class SelectionPanel : public QWidget {
    Q_OBJECT
public:
    SelectionPanel(Form& form, Brushing& brushing, QMainWindow* window);

    // Shows the selection as the Form holds it (after a brush, a command, a new table).
    void refresh();

    // What the buttons do, without dialogs; each returns an empty text or the error.
    QString analyse();
    QString save(const QString& path);
    QString load(const QString& path);

    QTableWidget* table() const { return table_; }
    QLabel* summary() const { return summary_; }
    // Runs after Analyse selection installed the table (the window shows it).
    std::function<void()> onTableChanged;

private:
    Form& form_;
    Brushing& brushing_;
    QMainWindow* window_;
    QLabel* summary_;
    QTableWidget* table_;
};
