#include "filterbuilderdialog.h"

#include "componenttexts.h"
#include "error.h"
#include "filterfile.h"
#include "valuebox.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

using Path = FilterDraft::Path;

QString pathText(const Path& path)
{
    QStringList parts;
    for (const int index : path)
        parts << QString::number(index);
    return parts.join(u'/');
}

Path childPath(const Path& path, int index)
{
    Path child = path;
    child.push_back(index);
    return child;
}

QHBoxLayout* rowLayout(QWidget* row)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(4);
    return layout;
}

// The filter file types as Qt's file dialogs take them: each description with
// its patterns in parentheses.
QStringList nameFilters(const QString& types)
{
    const QStringList parts = types.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        filters << (description.trimmed().endsWith(u')') ? description
                                                         : description + u" (" + patterns + u')');
    }
    return filters;
}

// Replaces the widgets of a layout; the old ones go once their events are
// done, since one of them may be the sender of the change.
void clearLayout(QLayout* layout)
{
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

} // namespace

FilterBuilderDialog::FilterBuilderDialog(FilterColumns columns, QWidget* parent)
    : QDialog(parent)
    , m_draft(std::move(columns))
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"conditions"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::NoSelection);
    m_tree->setFocusPolicy(Qt::NoFocus);
    m_tree->setIndentation(22);
    // Rows as wide as their fields, with a scroll bar when they do not fit.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* open = new QPushButton(componentText(u"&Open..."), this);
    open->setObjectName(u"open"_s);
    auto* save = new QPushButton(componentText(u"&Save As..."), this);
    save->setObjectName(u"saveAs"_s);
    auto* ok = new QPushButton(componentText(u"OK"), this);
    ok->setObjectName(u"ok"_s);
    ok->setDefault(true);
    auto* cancel = new QPushButton(componentText(u"Cancel"), this);
    cancel->setObjectName(u"cancel"_s);
    auto* applyButton = new QPushButton(componentText(u"&Apply"), this);
    applyButton->setObjectName(u"apply"_s);
    for (QPushButton* button : {open, save, applyButton})
        button->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, &FilterBuilderDialog::open);
    connect(save, &QPushButton::clicked, this, &FilterBuilderDialog::saveAs);
    connect(ok, &QPushButton::clicked, this, &FilterBuilderDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &FilterBuilderDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, &FilterBuilderDialog::apply);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(applyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    resize(780, 380);

    updateCaption();
    rebuild();
}

// --- The filter and its file

void FilterBuilderDialog::setFilter(const FilterExpression& filter)
{
    m_filter = filter;
    m_draft.load(filter);
    m_valueSources.clear(); // the rows may have changed since
    rebuild();
}

QString FilterBuilderDialog::fileName() const
{
    return m_fileName.isEmpty() ? componentText(u"untitled.flt") : m_fileName;
}

void FilterBuilderDialog::updateCaption()
{
    setWindowTitle(componentText(u"Filter builder") + u" - [" + fileName() + u']');
}

QString FilterBuilderDialog::fileTypes()
{
    return componentText(u"Filters (*.flt)|*.flt");
}

QString FilterBuilderDialog::chooseFile(FileAction action, const QString& suggested)
{
    if (m_chooser)
        return m_chooser(action, suggested);
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(nameFilters(fileTypes()));
    dialog.setDefaultSuffix(componentText(u"flt"));
    if (action == FileAction::Open) {
        dialog.setWindowTitle(componentText(u"Open an existing filter"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setWindowTitle(componentText(u"Save the active filter to file"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(suggested);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().front();
}

void FilterBuilderDialog::openFile(const QString& path)
{
    const FilterExpression filter = FilterFile::load(path, m_draft.columns());
    m_draft.load(filter);
    m_fileName = QFileInfo(path).fileName();
    updateCaption();
    rebuild();
}

bool FilterBuilderDialog::saveFile(const QString& path)
{
    const std::optional<FilterExpression> filter = m_draft.expression();
    if (!filter) {
        markInvalid();
        return false;
    }
    FilterFile::save(path, *filter);
    m_fileName = QFileInfo(path).fileName();
    updateCaption();
    return true;
}

void FilterBuilderDialog::open()
{
    const QString path = chooseFile(FileAction::Open, fileName());
    if (!path.isEmpty())
        openFile(path);
}

void FilterBuilderDialog::saveAs()
{
    if (!m_draft.expression()) {
        markInvalid();
        return;
    }
    const QString path = chooseFile(FileAction::Save, fileName());
    if (!path.isEmpty())
        saveFile(path);
}

bool FilterBuilderDialog::apply()
{
    std::optional<FilterExpression> filter = m_draft.expression();
    if (!filter) {
        markInvalid();
        return false;
    }
    m_filter = std::move(*filter);
    emit applied(m_filter);
    return true;
}

void FilterBuilderDialog::accept()
{
    std::optional<FilterExpression> filter = m_draft.expression();
    if (!filter) {
        markInvalid();
        return;
    }
    m_filter = std::move(*filter);
    QDialog::accept();
}

// --- The tree

void FilterBuilderDialog::changeShape(const std::function<void()>& change)
{
    change();
    // The row whose menu asked for the change is still at work: the rows are
    // made anew once control is back in the event loop.
    QMetaObject::invokeMethod(this, &FilterBuilderDialog::rebuild, Qt::QueuedConnection);
}

void FilterBuilderDialog::rebuild()
{
    m_tree->clear();
    auto* top = new QTreeWidgetItem(m_tree);
    QWidget* row = groupRow({});
    top->setSizeHint(0, row->sizeHint());
    m_tree->setItemWidget(top, 0, row);
    addGroupRows(top, {});
    m_tree->expandAll();
}

void FilterBuilderDialog::addGroupRows(QTreeWidgetItem* parent, const Path& path)
{
    const FilterDraft::Group& group = m_draft.group(path);
    for (int i = 0; i < int(group.items.size()); ++i) {
        const Path child = childPath(path, i);
        auto* item = new QTreeWidgetItem(parent);
        QWidget* row = m_draft.isGroup(child) ? groupRow(child) : conditionRow(child, item);
        item->setSizeHint(0, row->sizeHint());
        m_tree->setItemWidget(item, 0, row);
        if (m_draft.isGroup(child))
            addGroupRows(item, child);
    }
    auto* prompt = new QTreeWidgetItem(parent);
    QWidget* row = promptRow(path);
    prompt->setSizeHint(0, row->sizeHint());
    m_tree->setItemWidget(prompt, 0, row);
}

QWidget* FilterBuilderDialog::menuButton(const Path& path, QWidget* row)
{
    auto* button = new QToolButton(row);
    button->setObjectName(u"rowMenu"_s);
    button->setText(u"..."_s);
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    const bool isGroup = m_draft.isGroup(path);
    // A condition's new neighbours go after it, a group's inside it at the end.
    const Path group = isGroup ? path : FilterDraft::parentOf(path);
    const int position = isGroup ? -1 : path.back() + 1;
    menu->addAction(componentText(u"Add &Condition"), this,
        [this, group, position] { changeShape([&] { m_draft.addCondition(group, position); }); });
    menu->addAction(componentText(u"Add &Group"), this,
        [this, group, position] { changeShape([&] { m_draft.addGroup(group, position); }); });
    if (!path.empty()) {
        menu->addSeparator();
        menu->addAction(componentText(u"&Remove Row"), this,
            [this, path] { changeShape([&] { m_draft.remove(path); }); });
    } else if (!m_draft.root().items.empty()) {
        menu->addSeparator();
        menu->addAction(
            componentText(u"Clear &All"), this, [this] { changeShape([&] { m_draft.clear(); }); });
    }
    button->setMenu(menu);
    return button;
}

QWidget* FilterBuilderDialog::groupRow(const Path& path)
{
    auto* row = new QWidget;
    row->setObjectName(u"groupRow"_s);
    row->setProperty("path", pathText(path));
    QHBoxLayout* layout = rowLayout(row);
    layout->addWidget(menuButton(path, row));
    if (path.empty()) {
        auto* lead = new QLabel(componentText(u"Filter"), row);
        lead->setObjectName(u"lead"_s);
        layout->addWidget(lead);
    }
    auto* op = new QComboBox(row);
    op->setObjectName(u"groupOperator"_s);
    for (const GroupOperator kind :
        {GroupOperator::And, GroupOperator::Or, GroupOperator::NotAnd, GroupOperator::NotOr})
        op->addItem(groupOperatorName(kind), int(kind));
    op->setCurrentIndex(op->findData(int(m_draft.group(path).op)));
    connect(op, &QComboBox::currentIndexChanged, this, [this, path, op] {
        m_draft.setGroupOperator(path, GroupOperator(op->currentData().toInt()));
    });
    layout->addWidget(op);
    auto* caption = new QLabel(path.empty() ? componentText(u"<root>")
                                            : componentText(u"applies to the following conditions"),
        row);
    caption->setObjectName(u"groupCaption"_s);
    layout->addWidget(caption);
    layout->addStretch();
    return row;
}

QWidget* FilterBuilderDialog::promptRow(const Path& group)
{
    auto* row = new QWidget;
    row->setObjectName(u"promptRow"_s);
    row->setProperty("path", pathText(group));
    QHBoxLayout* layout = rowLayout(row);
    auto* prompt = new QToolButton(row);
    prompt->setObjectName(u"addConditionPrompt"_s);
    prompt->setText(componentText(u"press the button to add a new condition"));
    prompt->setAutoRaise(true);
    prompt->setCursor(Qt::PointingHandCursor);
    QPalette palette = prompt->palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::Disabled, QPalette::Text));
    prompt->setPalette(palette);
    connect(prompt, &QToolButton::clicked, this,
        [this, group] { changeShape([&] { m_draft.addCondition(group); }); });
    layout->addWidget(prompt);
    layout->addStretch();
    return row;
}

QWidget* FilterBuilderDialog::conditionRow(const Path& path, QTreeWidgetItem* item)
{
    auto* row = new QWidget;
    row->setObjectName(u"conditionRow"_s);
    row->setProperty("path", pathText(path));
    QHBoxLayout* layout = rowLayout(row);
    layout->addWidget(menuButton(path, row));

    auto* column = new QComboBox(row);
    column->setObjectName(u"column"_s);
    for (const FilterColumn& c : m_draft.columns().columns())
        column->addItem(c.caption, int(c.field));
    column->setCurrentIndex(column->findData(int(m_draft.condition(path).column)));
    auto* op = new QComboBox(row);
    op->setObjectName(u"operator"_s);
    auto* values = new QWidget(row);
    values->setObjectName(u"values"_s);
    auto* valueLayout = new QHBoxLayout(values);
    valueLayout->setContentsMargins(0, 0, 0, 0);
    valueLayout->setSpacing(4);
    auto* invalid = new QLabel(componentText(u"Invalid value"), row);
    invalid->setObjectName(u"invalidValue"_s);
    invalid->setStyleSheet(u"color: #c00000"_s);
    invalid->hide();
    layout->addWidget(column);
    layout->addWidget(op);
    layout->addWidget(values);
    layout->addWidget(invalid);
    layout->addStretch();

    auto showOperators = [this, path, op] {
        const QSignalBlocker blocker(op);
        op->clear();
        const FilterDraft::Condition& condition = m_draft.condition(path);
        for (const FilterOperator o : FilterDraft::operatorsFor(condition.column))
            op->addItem(operatorName(o), int(o));
        op->setCurrentIndex(op->findData(int(condition.op)));
    };
    // The value fields follow the operator: none, one, two joined by "and",
    // or a list that grows and shrinks.
    auto showValues = std::make_shared<std::function<void()>>();
    *showValues
        = [this, path, values, valueLayout, invalid, row, item, again = std::weak_ptr(showValues)] {
              clearLayout(valueLayout);
              const FilterDraft::Condition& condition = m_draft.condition(path);
              const ValueBox::Source source = valueSource(condition.column);
              const Arity arity = operatorInfo(condition.op).arity;
              for (int i = 0; i < condition.values.size(); ++i) {
                  if (i == 1 && arity == Arity::Two)
                      valueLayout->addWidget(new QLabel(componentText(u"and"), values));
                  auto* box = new ValueBox(source, values);
                  box->setObjectName(u"value"_s);
                  box->setProperty("index", i);
                  box->setEditText(condition.values[i]);
                  connect(box, &QComboBox::editTextChanged, this,
                      [this, path, i, invalid](const QString& text) {
                          m_draft.setValue(path, i, text);
                          if (invalid->isVisible())
                              invalid->setVisible(!m_draft.isConditionValid(path));
                      });
                  valueLayout->addWidget(box);
              }
              if (arity == Arity::List) {
                  auto* more = new QToolButton(values);
                  more->setObjectName(u"addValue"_s);
                  more->setText(u"+"_s);
                  auto* fewer = new QToolButton(values);
                  fewer->setObjectName(u"removeValue"_s);
                  fewer->setText(u"\u2212"_s);
                  fewer->setEnabled(condition.values.size() > 1);
                  valueLayout->addWidget(more);
                  valueLayout->addWidget(fewer);
                  connect(more, &QToolButton::clicked, this, [this, path, again] {
                      m_draft.addListValue(path);
                      if (const auto show = again.lock())
                          (*show)();
                  });
                  connect(fewer, &QToolButton::clicked, this, [this, path, again] {
                      m_draft.removeListValue(path);
                      if (const auto show = again.lock())
                          (*show)();
                  });
              }
              invalid->hide();
              item->setSizeHint(0, row->sizeHint());
          };

    showOperators();
    (*showValues)();
    connect(column, &QComboBox::currentIndexChanged, this,
        [this, path, column, showOperators, showValues] {
            m_draft.setColumn(path, Field(column->currentData().toInt()));
            showOperators();
            (*showValues)();
        });
    connect(op, &QComboBox::currentIndexChanged, this, [this, path, op, showValues] {
        m_draft.setOperator(path, FilterOperator(op->currentData().toInt()));
        (*showValues)();
    });
    return row;
}

std::function<QStringList()> FilterBuilderDialog::valueSource(Field field)
{
    auto found = m_valueSources.find(int(field));
    if (found == m_valueSources.end()) {
        const FilterColumn* column = m_draft.columns().find(field);
        found = m_valueSources.insert(
            int(field), ValueBox::readOnce(column ? column->distinctValues : nullptr));
    }
    return *found;
}

void FilterBuilderDialog::markInvalid()
{
    const QList<QWidget*> rows = m_tree->findChildren<QWidget*>(u"conditionRow"_s);
    for (QWidget* row : rows) {
        const QStringList parts = row->property("path").toString().split(u'/');
        Path path;
        for (const QString& part : parts)
            path.push_back(part.toInt());
        if (QLabel* invalid = row->findChild<QLabel*>(u"invalidValue"_s))
            invalid->setVisible(!m_draft.isConditionValid(path));
    }
}
