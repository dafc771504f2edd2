#include "ui/controls/GridKeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QTableView>

namespace {

class GridKeys : public QObject {
public:
    explicit GridKeys(QAbstractItemView* grid) : QObject(grid), m_grid(grid) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_grid || event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
            (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
            GoToRow(key->key() == Qt::Key_Home);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The first or last row that is not hidden, in the current column.
    void GoToRow(bool first) {
        const QAbstractItemModel* model = m_grid->model();
        if (!model || model->rowCount(m_grid->rootIndex()) == 0)
            return;
        const QModelIndex current = m_grid->currentIndex();
        const int column = current.isValid() ? current.column() : 0;
        const int rows = model->rowCount(m_grid->rootIndex());
        for (int i = 0; i < rows; ++i) {
            const int row = first ? i : rows - 1 - i;
            const QModelIndex index = model->index(row, column, m_grid->rootIndex());
            if (const auto* table = qobject_cast<const QTableView*>(m_grid); table && table->isRowHidden(row))
                continue;
            m_grid->setCurrentIndex(index);
            m_grid->scrollTo(index);
            return;
        }
    }

    QAbstractItemView* m_grid;
};

} // namespace

void SetUpGridKeys(QAbstractItemView* grid) {
    grid->setTabKeyNavigation(false);
    grid->installEventFilter(new GridKeys(grid));
}
