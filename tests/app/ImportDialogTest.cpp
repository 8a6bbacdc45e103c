// The preview of a workbook offers its sheets, and a unit that looks wrong is offered
// rather than applied.
#include "AppKit.h"
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include "app/ImportDialog.h"

TEST(ImportDialogTest, SheetChooserAndProposedUnit) {
    const QString book = QStringLiteral(CITYSIZE_TEST_DATA "/import/book.xlsx");
    ImportDialog d(book, {}, {}, ImportFile(book.toStdString()).preview);
    ASSERT_EQ(d.partBox()->count(), 2);
    EXPECT_EQ(d.partBox()->currentText(), QStringLiteral("Cities"));
    EXPECT_TRUE(d.summaryLabel()->text().contains(QStringLiteral("Latitude / Longitude (150 places)")))
        << d.summaryLabel()->text().toStdString();
    d.partBox()->setCurrentIndex(0);  // the title sheet holds no table
    emit d.partBox()->activated(0);
    EXPECT_TRUE(d.error().contains(QStringLiteral("sheet About"))) << d.error().toStdString();
    d.partBox()->setCurrentIndex(1);
    emit d.partBox()->activated(1);
    EXPECT_TRUE(d.error().isEmpty()) << d.error().toStdString();
    EXPECT_EQ(d.preview().kept, 150);

    const std::string bytes = "name,1950,1960\nMoscow,14425.208,15000.5\nKyiv,700.5,900\n";
    ImportDialog t(QStringLiteral("t.csv"), bytes, {}, PreviewTable(bytes, "t.csv"));
    EXPECT_EQ(t.preview().proposedUnit, 1000);
    EXPECT_EQ(t.preview().unit, 1);  // offered, not applied
    t.proposedUnitButton()->click();
    EXPECT_EQ(t.preview().unit, 1000);
    EXPECT_EQ(t.preview().proposedUnit, 0);
}
