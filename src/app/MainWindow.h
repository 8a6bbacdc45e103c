#pragma once
#include <QMainWindow>
#include <map>
#include <memory>

#include "core/Banner.h"
#include "core/Form.h"
#include "data/Import.h"

class Brushing;
class GroupDock;
class MapExtentMenu;
class SelectionPanel;
class ImportDialog;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QTableWidget;
class QTimer;
class PictureView;
class PictureNavigation;
class PictureSizeChooser;

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
    GroupDock* groupDock() const { return groupDock_; }
    MapExtentMenu* mapExtentMenu() const { return extentMenu_; }
    Brushing* brushing() const { return brushing_; }
    SelectionPanel* selectionPanel() const { return selectionPanel_; }
    // The stage holds the controls and the picture at their twip positions; the printed
    // text has a pane of its own beside it, so nothing ever covers a table.
    QWidget* stage() const { return stage_; }
    QPlainTextEdit* textPane() const { return textPane_; }
    // The pinned city's rank and population at each date, under the text pane while a city
    // is pinned.
    QTableWidget* pinTable() const { return pinTable_; }

    // The picture's size (beside the Background list) and its zoom and pan.
    PictureSizeChooser* sizeChooser() const { return sizeChooser_; }
    PictureNavigation* navigation() const { return navigation_; }
    // Lays the picture out for the size chosen (or the room the window gives it) when that
    // differs from its size, through the command that drew it.
    void fitPicture();
    // Draws the picture anew at its size and zoom; false when its command cannot be rerun
    // quickly (it then stays as drawn).
    bool redrawPicture();

    // Runs a command as a click; errors become a message box and the program goes on.
    void runCommand(const std::string& name);
    void syncFromForm();

    // What the menus do, callable without dialogs. Each returns an empty text or the error.
    QString savePicture(const QString& path, double scale = 1.0);
    QString saveText(const QString& path);
    QString saveTablesCsv(const QString& path);
    void copyPicture();
    void copyText();
    // File > Open Data, a dropped file and the window's argument: shows the import preview of
    // a table (a folder means its USData.csv); its OK loads the table with the choices made
    // there. Returns the dialog (window-modal, deleted when closed), or null when the file
    // cannot be read: the one error is reported and the data loaded stays as it was.
    ImportDialog* openData(const QString& path);
    // Loads a table with these choices, without a dialog; returns an empty text or the error.
    QString loadData(const QString& path, const ImportOptions& options);

    // Help: opens the README that ships with the program in a window of its own; returns
    // an empty text or the error. The About box's text: version, data sources, licences.
    QString showReadme();
    static QString aboutText();

    // The last error shown (for tests that drive the window without a person).
    QString lastError() const { return lastError_; }
    // Off in tests: errors are only recorded, not shown in a modal dialog.
    void setShowErrorDialogs(bool on) { showErrorDialogs_ = on; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    // Runs a long fit on a worker thread; past a moment it shows a progress dialog whose
    // Cancel stops the fit (the command then fails with "cancelled").
    void runWithProgress(const std::function<void(const TailFitControl&)>& work);
    void report(const QString& error);
    void showText();
    void showPin(int city);
    std::unique_ptr<Form> form_;
    Picture banner_;
    std::string bannerData_;  // the DataTitle the banner was drawn for
    QSplitter* split_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* stage_ = nullptr;
    QPlainTextEdit* textPane_ = nullptr;
    QTableWidget* pinTable_ = nullptr;
    const DataSet* pinData_ = nullptr;  // the data the pin names a city of
    unsigned textRevision_ = ~0u;
    PictureView* pictureView_ = nullptr;
    GroupDock* groupDock_ = nullptr;  // the Group list
    MapExtentMenu* extentMenu_ = nullptr;  // View > Map Extent
    Brushing* brushing_ = nullptr;  // brushing places on the picture, and the table of them
    SelectionPanel* selectionPanel_ = nullptr;
    PictureView* bannerView_ = nullptr;
    std::map<std::string, QWidget*> widgets_;
    unsigned listRevision_ = ~0u;
    QString lastError_;
    bool showErrorDialogs_ = true;
    PictureSizeChooser* sizeChooser_ = nullptr;
    PictureNavigation* navigation_ = nullptr;
    QTimer* fitTimer_ = nullptr;
    std::string lastPicture_;  // the command whose picture is shown, rerun to lay it out anew
    // Set up the size chooser, the navigation and the window's resizing (WindowPicture.cpp).
    void buildPictureControls();
    void placePictureControls();
};
