#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QtTest>

#include "ui/column_grid.h"

using brenvale::ui::ColumnGrid;
using brenvale::ui::GridColumn;
using brenvale::ui::GridEditor;

namespace {

// Text, list "0"/"1", check box, text, text: five data columns after "N°".
std::unique_ptr<ColumnGrid> make_grid(int rows = 4) {
  auto grid = std::make_unique<ColumnGrid>(nullptr);
  grid->set_layout(rows, 40,
                   {GridColumn{GridEditor::kText, 70, {}}, GridColumn{GridEditor::kList, 50, {"0", "1"}},
                    GridColumn{GridEditor::kCheck, 50, {}}, GridColumn{GridEditor::kText, 70, {}},
                    GridColumn{GridEditor::kText, 70, {}}});
  grid->set_headers("N°", {"A", "B", "C", "D", "E"});
  grid->resize(500, 200);
  return grid;
}

QStringList row_texts(const ColumnGrid& grid, int row) {
  QStringList texts;
  for (int c = 0; c < grid.data_columns(); ++c) texts << grid.cell(row, c);
  return texts;
}

}  // namespace

class ColumnGridTest : public QObject {
  Q_OBJECT
 private slots:
  void layoutNumbersRowsAndNamesHeaders() {
    auto grid = make_grid();
    QCOMPARE(grid->data_rows(), 4);
    QCOMPARE(grid->data_columns(), 5);
    QCOMPARE(grid->item(3, 0)->text(), QString("4"));
    QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("N°"));
    QCOMPARE(grid->horizontalHeaderItem(5)->text(), QString("E"));
    QCOMPARE(grid->columnWidth(2), 50);
    QCOMPARE(row_texts(*grid, 0), QStringList({"", "", "", "", ""}));
  }

  void checkBoxCellIsEmptyUntilFirstSetThenYOrN() {
    auto grid = make_grid();
    QCOMPARE(grid->cell(0, 2), QString());
    QTableWidgetItem* box = grid->item(0, 3);
    box->setCheckState(Qt::Checked);  // as a click does
    QCOMPARE(grid->cell(0, 2), QString("Y"));
    box->setCheckState(Qt::Unchecked);
    QCOMPARE(grid->cell(0, 2), QString("N"));
    grid->set_cell(1, 2, "y");  // a loaded text is kept as it is
    QCOMPARE(grid->cell(1, 2), QString("y"));
    QCOMPARE(grid->item(1, 3)->checkState(), Qt::Unchecked);
    grid->set_cell(1, 2, "Y");
    QCOMPARE(grid->item(1, 3)->checkState(), Qt::Checked);
  }

  void listCellOffersOnlyItsChoices() {
    auto grid = make_grid();
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->set_current_data_cell(0, 1);
    grid->editItem(grid->item(0, 2));
    auto* box = grid->findChild<QComboBox*>();
    QVERIFY(box);
    QVERIFY(!box->isEditable());
    QCOMPARE(box->count(), 2);
    box->setCurrentIndex(1);
    emit box->activated(1);
    QCOMPARE(grid->cell(0, 1), QString("1"));
  }

  void hiddenColumnsKeepTheirTexts() {
    auto grid = make_grid();
    grid->set_cell(2, 3, "kept");
    grid->set_column_shown(3, false);
    QVERIFY(!grid->column_shown(3));
    QCOMPARE(grid->cell(2, 3), QString("kept"));
  }

  void currentRowDefaultsToTheFirst() {
    auto grid = make_grid();
    grid->setCurrentCell(-1, -1);
    QCOMPARE(grid->current_data_row(), 0);
    grid->set_current_data_cell(2, 0);
    QCOMPARE(grid->current_data_row(), 2);
  }

  void copiesSelectedCellsOfShownColumnsAsTabSeparatedText() {
    auto grid = make_grid();
    grid->set_cell(0, 0, "a");
    grid->set_cell(0, 1, "1");
    grid->set_cell(0, 2, "Y");
    grid->set_cell(0, 3, "hidden");
    grid->set_cell(0, 4, "e");
    grid->set_cell(1, 0, "b");
    grid->set_column_shown(3, false);
    grid->setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 5), true);
    QCOMPARE(grid->selection_text(), QString("a\t1\tY\te\nb\t\t\t"));
    grid->copy_to_clipboard();
    QCOMPARE(QApplication::clipboard()->text(), QString("a\t1\tY\te\nb\t\t\t"));
  }

  void pastesAtTheCurrentCellAndLeavesOutWhatDoesNotFit() {
    struct Case {
      const char* what;
      int row, column;
      QString text;
      QList<QStringList> expected;  // rows 2 and 3
    };
    const QList<Case> cases = {
        {"spreadsheet block", 2, 0, "x\t1\ty\tp\r\nz\t0\tN\tq\r\n", {{"x", "1", "Y", "p", ""}, {"z", "0", "N", "q", ""}}},
        {"bad list and check values left out", 2, 0, "x\t7\tmaybe\tp", {{"x", "", "", "p", ""}, {"", "", "", "", ""}}},
        {"beyond the last column", 2, 3, "p\tq\tr\ts", {{"", "", "", "p", "q"}, {"", "", "", "", ""}}},
        {"beyond the last row", 3, 0, "a\nb\nc", {{"", "", "", "", ""}, {"a", "", "", "", ""}}},
        {"from the number column", 2, -1, "a\t1", {{"a", "1", "", "", ""}, {"", "", "", "", ""}}},
    };
    for (const Case& c : cases) {
      auto grid = make_grid();
      grid->set_current_data_cell(c.row, c.column);
      grid->paste_text(c.text);
      QCOMPARE(row_texts(*grid, 2), c.expected[0]);
      QCOMPARE(row_texts(*grid, 3), c.expected[1]);
      QCOMPARE(row_texts(*grid, 1), QStringList({"", "", "", "", ""}));
    }
  }

  void copyAndPasteKeys() {
    auto grid = make_grid();
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->set_cell(0, 0, "a");
    grid->set_cell(0, 1, "1");
    grid->setRangeSelected(QTableWidgetSelectionRange(0, 1, 0, 2), true);
    QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("a\t1"));
    grid->clearSelection();
    grid->set_current_data_cell(3, 0);
    QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(row_texts(*grid, 3), QStringList({"a", "1", "", "", ""}));
  }

  void pasteSkipsHiddenColumns() {
    auto grid = make_grid();
    grid->set_cell(0, 1, "0");
    grid->set_column_shown(1, false);
    grid->set_column_shown(2, false);
    grid->set_current_data_cell(0, 0);
    QApplication::clipboard()->setText("a\tb\tc");
    grid->paste_from_clipboard();
    QCOMPARE(row_texts(*grid, 0), QStringList({"a", "0", "", "b", "c"}));
  }
};

QTEST_MAIN(ColumnGridTest)
#include "column_grid_test.moc"
