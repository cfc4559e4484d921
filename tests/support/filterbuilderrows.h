#pragma once

// Finding and working the rows of the filter builder's tree in window tests.

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace FilterBuilderRows {

// A row of the tree by its kind and place ("" for the top group, "1/0" for
// the first member of the second).
inline QWidget* row(const QWidget& dialog, const QString& kind, const QString& path)
{
    QCoreApplication::processEvents();
    const QList<QWidget*> rows = dialog.findChildren<QWidget*>(kind);
    for (QWidget* candidate : rows) {
        if (candidate->property("path").toString() == path && !candidate->isHidden())
            return candidate;
    }
    return nullptr;
}

// The texts of a row's menu, without separators.
inline QStringList menuTexts(QWidget* row)
{
    QStringList texts;
    const QToolButton* button = row->findChild<QToolButton*>(QStringLiteral("rowMenu"));
    for (const QAction* action : button->menu()->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    return texts;
}

} // namespace FilterBuilderRows
