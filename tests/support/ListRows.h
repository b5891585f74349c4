#pragma once

#include <QAbstractItemModel>
#include <QListView>
#include <QtTest>

// The entry of a list view that shows the given name, or an invalid index.
inline QModelIndex rowNamed(const QListView& view, const QString& name) {
    const QAbstractItemModel* model = view.model();
    for (int row = 0; row < model->rowCount(view.rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view.rootIndex());
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

// Clicks the entry of that name with the mouse, once the list shows it.
inline void clickRow(QListView* view, const QString& name) {
    QTRY_VERIFY(rowNamed(*view, name).isValid());
    const QModelIndex index = rowNamed(*view, name);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}
