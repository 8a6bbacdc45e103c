#pragma once
#include <QMainWindow>
#include <map>
#include <memory>

#include "app/Banner.h"
#include "app/Form.h"

class QComboBox;
class QLabel;
class QScrollArea;
class PictureView;
class TextCanvas;

// The window: a thin mirror of a Form. Every click goes to the Form; afterwards the
// widgets are made to show what the Form holds.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(std::unique_ptr<Form> form, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form& form() { return *form_; }
    QWidget* control(const std::string& name) const;
    PictureView* pictureView() const { return pictureView_; }
    TextCanvas* textCanvas() const { return canvas_; }

    // Runs a command as a click; errors become a message box and the program goes on.
    void runCommand(const std::string& name);
    void syncFromForm();

    // What the menus do, callable without dialogs. Each returns an empty text or the error.
    QString savePicture(const QString& path, double scale = 1.0);
    QString saveText(const QString& path);
    QString saveTablesCsv(const QString& path);
    void copyPicture();
    void copyText();
    // Help: opens the README that ships with the program in a window of its own; returns
    // an empty text or the error. The About box's text: version, data sources, licences.
    QString showReadme();
    static QString aboutText();

    // The last error shown (for tests that drive the window without a person).
    QString lastError() const { return lastError_; }
    // Off in tests: errors are only recorded, not shown in a modal dialog.
    void setShowErrorDialogs(bool on) { showErrorDialogs_ = on; }

private:
    void buildControls();
    void buildMenus();
    void report(const QString& error);
    std::unique_ptr<Form> form_;
    Picture banner_;
    QScrollArea* scroll_ = nullptr;
    TextCanvas* canvas_ = nullptr;
    PictureView* pictureView_ = nullptr;
    PictureView* bannerView_ = nullptr;
    std::map<std::string, QWidget*> widgets_;
    unsigned listRevision_ = ~0u;
    QString lastError_;
    bool showErrorDialogs_ = true;
};
