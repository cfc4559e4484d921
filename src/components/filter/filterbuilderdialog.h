#pragma once

#include "filterdraft.h"
#include "filterexpression.h"

#include <QDialog>
#include <QHash>
#include <QStringList>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The filter builder: the whole filter as a tree of groups and conditions,
// opened from and saved to filter files. It edits a filter expression and
// hands it back; "&Apply" hands it back without closing.
class FilterBuilderDialog : public QDialog
{
    Q_OBJECT

public:
    enum class FileAction { Open, Save };
    // Asks the user for a filter file: the path chosen, or the empty text.
    // suggested is the current file name.
    using FileChooser = std::function<QString(FileAction action, const QString& suggested)>;

    explicit FilterBuilderDialog(FilterColumns columns, QWidget* parent = nullptr);

    void setFilter(const FilterExpression& filter);
    // The filter as last applied or accepted, or as set.
    const FilterExpression& filter() const { return m_filter; }
    const FilterDraft& draft() const { return m_draft; }

    // The name of the filter file, "untitled.flt" until one is opened or saved.
    QString fileName() const;
    // The file dialogs; by default Qt's own, with the titles, file types,
    // default extension and name of filter files.
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    QString chooseFile(FileAction action, const QString& suggested);
    // The list of filter file types, in the form "description|pattern|...".
    static QString fileTypes();

    // Reads a filter file into the tree. Throws Error and keeps the tree and
    // the file name as they were when the file cannot be read.
    void openFile(const QString& path);
    // Writes the tree to a file; false, writing nothing, while a value is
    // invalid. Throws Error when the file cannot be written.
    bool saveFile(const QString& path);

    // Takes the tree as the filter and announces it; false while a value is
    // invalid, which the tree then marks.
    bool apply();
    void accept() override;

signals:
    void applied(const FilterExpression& filter);

private:
    void open();
    void saveAs();
    void updateCaption();
    // Shows the draft anew after a change of the tree's shape.
    void rebuild();
    void addGroupRows(QTreeWidgetItem* parent, const FilterDraft::Path& path);
    QWidget* groupRow(const FilterDraft::Path& path);
    QWidget* conditionRow(const FilterDraft::Path& path, QTreeWidgetItem* item);
    QWidget* promptRow(const FilterDraft::Path& group);
    QWidget* menuButton(const FilterDraft::Path& path, QWidget* row);
    // Shows "Invalid value" on the conditions whose values do not suit.
    void markInvalid();
    void changeShape(const std::function<void()>& change);
    // A column's values for the value fields, read once while the dialog lives.
    std::function<QStringList()> valueSource(Field field);

    FilterDraft m_draft;
    FilterExpression m_filter;
    QString m_fileName;
    FileChooser m_chooser;
    QHash<int, std::function<QStringList()>> m_valueSources;
    QTreeWidget* m_tree = nullptr;
};
