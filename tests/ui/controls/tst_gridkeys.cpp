#include "ui/controls/GridKeys.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

// A grid between two controls, moved through by keyboard alone.
class TestGridKeys : public QObject {
    Q_OBJECT

    struct Window {
        QWidget widget;
        QLineEdit* before = new QLineEdit(&widget);
        QTableWidget* grid = new QTableWidget(5, 3, &widget);
        QPushButton* after = new QPushButton(QStringLiteral("Go"), &widget);

        Window() {
            auto* layout = new QVBoxLayout(&widget);
            layout->addWidget(before);
            layout->addWidget(grid);
            layout->addWidget(after);
            grid->setSelectionBehavior(QAbstractItemView::SelectRows);
            grid->setSelectionMode(QAbstractItemView::SingleSelection);
            grid->setColumnHidden(2, true);
            for (int r = 0; r < 5; ++r)
                for (int c = 0; c < 3; ++c)
                    grid->setItem(r, c, new QTableWidgetItem(QStringLiteral("%1,%2").arg(r).arg(c)));
            SetUpGridKeys(grid);
            widget.show();
            widget.activateWindow();
        }
    };

private slots:
    void tabLeavesTheGrid_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Tab") << int(Qt::Key_Tab) << "after";
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << "before";
    }
    void tabLeavesTheGrid() {
        QFETCH(int, key);
        QFETCH(QString, focus);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        // From the last cell as well as the first: the grid never traps the key.
        for (int row : {0, 4}) {
            w.grid->setCurrentCell(row, 1);
            w.grid->setFocus();
            QVERIFY(w.grid->hasFocus());
            QTest::keyClick(w.grid, Qt::Key(key), key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(QApplication::focusWidget(), focus == QLatin1String("after") ? static_cast<QWidget*>(w.after)
                                                                                  : static_cast<QWidget*>(w.before));
            QCOMPARE(w.grid->currentRow(), row);
        }
    }

    void tabFromTheControlBeforeEntersTheGrid() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        w.before->setFocus();
        QTest::keyClick(w.before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.grid);
    }

    void keysMoveTheCurrentRow_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::newRow("Down") << 1 << int(Qt::Key_Down) << 2;
        QTest::newRow("Up") << 1 << int(Qt::Key_Up) << 0;
        QTest::newRow("Down at the end stays") << 4 << int(Qt::Key_Down) << 4;
        QTest::newRow("End") << 1 << int(Qt::Key_End) << 4;
        QTest::newRow("Home") << 3 << int(Qt::Key_Home) << 0;
        QTest::newRow("Page Down") << 0 << int(Qt::Key_PageDown) << 4;
    }
    void keysMoveTheCurrentRow() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, row);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        w.grid->setCurrentCell(start, 1);
        w.grid->setFocus();
        QTest::keyClick(w.grid, Qt::Key(key));
        QCOMPARE(w.grid->currentRow(), row);
        // The whole row is the selection.
        QCOMPARE(w.grid->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(w.grid->selectionModel()->selectedRows().first().row(), row);
    }

    void homeAndEndSkipHiddenRows() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        w.grid->setRowHidden(4, true);
        w.grid->setRowHidden(0, true);
        w.grid->setCurrentCell(2, 0);
        w.grid->setFocus();
        QTest::keyClick(w.grid, Qt::Key_End);
        QCOMPARE(w.grid->currentRow(), 3);
        QTest::keyClick(w.grid, Qt::Key_Home);
        QCOMPARE(w.grid->currentRow(), 1);
    }
};

QTEST_MAIN(TestGridKeys)
#include "tst_gridkeys.moc"
