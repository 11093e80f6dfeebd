#include "ui/grid/GridCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

GridCell TextCell(const QString& text, bool editable = true) {
    GridCell cell;
    cell.text = text;
    cell.editable = editable;
    return cell;
}

GridCell ChoiceCell(const QString& text, const QStringList& choices) {
    GridCell cell = TextCell(text);
    cell.kind = GridCellKind::Choice;
    cell.choices = choices;
    return cell;
}

// A 4 x 4 grid with a header row and a fixed column: row labels in column 0, text in column 1,
// a list in column 2 and a check box in column 3.
void FillGrid(CGridCtrl& grid) {
    grid.SetDimensions(4, 4, 1, 1);
    CGridModel& model = grid.Model();
    const QStringList headers{"Label", "Name", "Range", "On"};
    for (int c = 0; c < 4; ++c)
        model.SetCell(0, c, TextCell(headers[c], false));
    for (int r = 1; r < 4; ++r) {
        model.SetCell(r, 0, TextCell(QStringLiteral("row %1").arg(r), false));
        model.SetCell(r, 1, TextCell(QStringLiteral("n%1").arg(r)));
        model.SetCell(r, 2, ChoiceCell("10V", {"10V", "5V"}));
        GridCell check;
        check.kind = GridCellKind::Check;
        check.checkable = true;
        check.checked = r == 1;
        model.SetCell(r, 3, check);
    }
}

} // namespace

class GridCtrlTest : public QObject {
    Q_OBJECT

private slots:
    void fixedRowAndColumnBecomeTheHeaders() {
        CGridCtrl grid;
        FillGrid(grid);
        const CGridModel& model = grid.Model();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Name"));
        QCOMPARE(model.headerData(2, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("row 3"));
        QCOMPARE(model.IndexOf(2, 3), model.index(1, 2));
        QVERIFY(!model.IndexOf(0, 1).isValid());
        QCOMPARE(model.data(model.IndexOf(1, 3), Qt::CheckStateRole).value<Qt::CheckState>(),
                 Qt::Checked);

        grid.SetColumnWidth(0, 150);
        grid.SetColumnWidth(2, 70);
        QCOMPARE(grid.ColumnWidth(0), 150);
        QCOMPARE(grid.ColumnWidth(2), 70);
        QVERIFY(!grid.verticalHeader()->isHidden());

        grid.SetDimensions(3, 2, 1, 0);
        QCOMPARE(grid.Model().columnCount(), 2);
        QVERIFY(grid.verticalHeader()->isHidden());
    }

    void editsAndChecksAreReportedAndReadOnlyRefusesThem() {
        CGridCtrl grid;
        FillGrid(grid);
        CGridModel& model = grid.Model();
        QSignalSpy edited(&grid, &CGridCtrl::cellEdited);
        QSignalSpy checked(&grid, &CGridCtrl::cellChecked);

        QVERIFY(model.flags(model.IndexOf(1, 1)) & Qt::ItemIsEditable);
        QVERIFY(model.flags(model.IndexOf(1, 3)) & Qt::ItemIsUserCheckable);
        QVERIFY(!(model.flags(model.IndexOf(1, 3)) & Qt::ItemIsEditable));
        QVERIFY(model.setData(model.IndexOf(2, 1), "new", Qt::EditRole));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited[0], (QVariantList{2, 1, QStringLiteral("new"), false}));
        QVERIFY(model.setData(model.IndexOf(2, 2), "5v", Qt::EditRole));
        QCOMPARE(model.Cell(2, 2).text, QStringLiteral("5V"));
        QVERIFY(!model.setData(model.IndexOf(2, 2), "20V", Qt::EditRole));
        QCOMPARE(model.Cell(2, 2).text, QStringLiteral("5V"));
        QVERIFY(model.setData(model.IndexOf(1, 3), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(checked.size(), 1);
        QCOMPARE(checked[0], (QVariantList{1, 3, false}));
        QVERIFY(!model.Cell(1, 3).checked);

        grid.SetReadOnly(true);
        QVERIFY(!(model.flags(model.IndexOf(1, 1)) & Qt::ItemIsEditable));
        QVERIFY(!(model.flags(model.IndexOf(1, 3)) & Qt::ItemIsUserCheckable));
        QVERIFY(!model.setData(model.IndexOf(1, 1), "x", Qt::EditRole));
        QVERIFY(!model.setData(model.IndexOf(1, 3), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(edited.size(), 2);
        QCOMPARE(checked.size(), 1);
    }

    void inPlaceEditorsCommitOnEnter() {
        CGridCtrl grid;
        FillGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy edited(&grid, &CGridCtrl::cellEdited);

        grid.EditCell(1, 1);
        auto* line = grid.viewport()->findChild<QLineEdit*>();
        QVERIFY(line);
        line->setText("typed");
        QTest::keyClick(line, Qt::Key_Return);
        // The delegate commits after the key event has been handled.
        QTRY_COMPARE(grid.Model().Cell(1, 1).text, QStringLiteral("typed"));

        grid.EditCell(3, 2);
        auto* combo = grid.viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QVERIFY(!combo->isEditable());
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_COMPARE(grid.Model().Cell(3, 2).text, QStringLiteral("5V"));
        QCOMPARE(edited.size(), 2);

        QSignalSpy activated(&grid, &CGridCtrl::cellActivated);
        grid.SetEditOnActivate(false);
        const QRect cell = grid.visualRect(grid.Model().IndexOf(2, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated[0], (QVariantList{2, 1}));
        QVERIFY(!grid.IsEditing());
    }

    void numberAndColourCells() {
        CGridCtrl grid;
        grid.SetDimensions(2, 2, 1, 0);
        GridCell number = TextCell("12");
        number.kind = GridCellKind::Numeric;
        number.integer = true;
        grid.Model().SetCell(1, 0, number);
        GridCell colour;
        colour.kind = GridCellKind::Colour;
        colour.colour = QColor(255, 0, 0);
        grid.Model().SetCell(1, 1, colour);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        QSignalSpy clicked(&grid, &CGridCtrl::cellClicked);
        const QRect swatch = grid.visualRect(grid.Model().IndexOf(1, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, swatch.center());
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked[0], (QVariantList{1, 1}));
        const QImage image = grid.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(swatch.center()), QColor(255, 0, 0));
        QVERIFY(!(grid.Model().flags(grid.Model().IndexOf(1, 1)) & Qt::ItemIsEditable));

        grid.EditCell(1, 0);
        auto* line = grid.viewport()->findChild<QLineEdit*>();
        QVERIFY(line && line->validator());
        int pos = 0;
        QString text = QStringLiteral("1.5");
        QCOMPARE(line->validator()->validate(text, pos), QValidator::Invalid);
    }

    void clipboardBlocksAreTabSeparated() {
        CGridCtrl grid;
        FillGrid(grid);
        grid.SelectCells(1, 1, 2, 2);
        QCOMPARE(grid.SelectionText(), QStringLiteral("n1\t10V\nn2\t10V\n"));
        grid.Copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("n1\t10V\nn2\t10V\n"));

        QSignalSpy edited(&grid, &CGridCtrl::cellEdited);
        grid.SelectCells(2, 1, 2, 1);
        // Lists take only their own entries; the check column and cells beyond the grid keep
        // theirs.
        QCOMPARE(grid.PasteText("a\t5v\tON\r\nb\t20V\r\nc\n"), 3);
        QCOMPARE(grid.Model().Cell(2, 1).text, QStringLiteral("a"));
        QCOMPARE(grid.Model().Cell(2, 2).text, QStringLiteral("5V"));
        QCOMPARE(grid.Model().Cell(3, 1).text, QStringLiteral("b"));
        QCOMPARE(grid.Model().Cell(3, 2).text, QStringLiteral("10V"));
        QCOMPARE(edited.size(), 3);
        QCOMPARE(edited[0].back().toBool(), true);

        grid.SelectCells(1, 1, 1, 3);
        grid.Cut();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("n1\t10V\t\n"));
        QCOMPARE(grid.Model().Cell(1, 1).text, QString());
        QCOMPARE(grid.Model().Cell(1, 2).text, QStringLiteral("10V"));

        grid.SetReadOnly(true);
        QCOMPARE(grid.PasteText("z"), 0);
    }

    void titleTipsShowOnlyClippedTexts() {
        CGridCtrl grid;
        FillGrid(grid);
        grid.SetColumnWidth(1, 40);
        grid.Model().SetCellText(1, 1, "a rather long signal name");
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QPoint longCell = grid.visualRect(grid.Model().IndexOf(1, 1)).center();
        const QPoint shortCell = grid.visualRect(grid.Model().IndexOf(2, 1)).center();
        QCOMPARE(grid.TitleTipAt(longCell), QStringLiteral("a rather long signal name"));
        QCOMPARE(grid.TitleTipAt(shortCell), QString());
    }

    void headerClicksAndTheKeyboardMenuAreReported() {
        CGridCtrl grid;
        FillGrid(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy header(&grid, &CGridCtrl::headerClicked);
        QHeaderView* top = grid.horizontalHeader();
        const QPoint at(top->sectionViewportPosition(1) + 5, top->height() / 2);
        QTest::mouseClick(top->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        QCOMPARE(header.size(), 1);
        QCOMPARE(header[0][0].toInt(), 2);
        QVERIFY(header[0][1].value<Qt::KeyboardModifiers>() & Qt::ControlModifier);

        QSignalSpy menu(&grid, &CGridCtrl::contextMenuRequested);
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(40, 40),
                              grid.viewport()->mapToGlobal(QPoint(40, 40)), {});
        QApplication::sendEvent(grid.viewport(), &key);
        QCOMPARE(menu.size(), 1);
        QCOMPARE(menu[0][0].toPoint(), grid.mapToGlobal(QPoint(5, 5)));
    }

    void printsPagesToPdf() {
        CGridCtrl grid;
        grid.SetDimensions(120, 3, 1, 1);
        for (int r = 0; r < 120; ++r) {
            for (int c = 0; c < 3; ++c)
                grid.Model().SetCellText(r, c, QStringLiteral("%1/%2").arg(r).arg(c));
        }
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("grid.pdf"));
        QVERIFY(grid.Print(printer, "Grid"));
        QFile pdf(dir.filePath("grid.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                    bytes.count("/Type /Page ") + bytes.count("/Type/Page\n") >=
                2);

        QPrinter unwritable(QPrinter::HighResolution);
        unwritable.setOutputFormat(QPrinter::PdfFormat);
        unwritable.setOutputFileName(dir.filePath("missing/folder/grid.pdf"));
        QVERIFY(!grid.Print(unwritable));
    }
};

QTEST_MAIN(GridCtrlTest)
#include "GridCtrlTest.moc"
