#include "customfilterdialog.h"

#include "componenttexts.h"
#include "valuebox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

bool offered(FilterOperator op, Field column)
{
    return operatorApplies(op, filterKindOf(column)) && operatorInfo(op).arity <= Arity::One;
}

// "Use", the wildcard, the end of the line.
QString hintLine(QChar wildcard, const char16_t* end)
{
    return componentText(u"Use") + u' ' + wildcard + u' ' + componentText(end);
}

} // namespace

CustomFilterDialog::CustomFilterDialog(FilterColumns columns, Field column, QWidget* parent)
    : QDialog(parent)
    , m_columns(std::move(columns))
    , m_column(column)
{
    setWindowTitle(componentText(u"Custom Filter"));
    const FilterColumn* described = m_columns.find(column);
    const ValueBox::Source values
        = ValueBox::readOnce(described ? described->distinctValues : ValueBox::Source());

    auto* heading = new QLabel(componentText(u"Show rows where:"), this);
    heading->setObjectName(u"heading"_s);
    auto* caption
        = new QLabel(described ? described->caption : fieldDef(column).nameString(), this);
    caption->setObjectName(u"columnCaption"_s);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        ConditionRow& row = m_rows[i];
        row.op = new QComboBox(this);
        row.op->setObjectName(u"operator%1"_s.arg(i + 1));
        fillOperators(row.op);
        row.value = new ValueBox(values, this);
        row.value->setObjectName(u"value%1"_s.arg(i + 1));
        row.invalid = new QLabel(componentText(u"Invalid value"), this);
        row.invalid->setObjectName(u"invalid%1"_s.arg(i + 1));
        row.invalid->setStyleSheet(u"color: #c00000"_s);
        row.invalid->hide();
        const int line = int(i) * 2;
        grid->addWidget(row.op, line, 0);
        grid->addWidget(row.value, line, 1);
        grid->addWidget(row.invalid, line, 2);
        const ConditionRow copy = row;
        connect(
            row.op, &QComboBox::currentIndexChanged, this, [this, copy] { operatorChanged(copy); });
        connect(row.value, &QComboBox::editTextChanged, this, [copy] { copy.invalid->hide(); });
        operatorChanged(row);
    }
    m_and = new QRadioButton(componentText(u"AND"), this);
    m_and->setObjectName(u"and"_s);
    m_or = new QRadioButton(componentText(u"OR"), this);
    m_or->setObjectName(u"or"_s);
    m_and->setChecked(true);
    auto* joint = new QHBoxLayout;
    joint->addSpacing(24);
    joint->addWidget(m_and);
    joint->addWidget(m_or);
    joint->addStretch();
    grid->addLayout(joint, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* single = new QLabel(hintLine(u'_', u"to represent any single character"), this);
    single->setObjectName(u"hintSingle"_s);
    auto* series = new QLabel(hintLine(u'%', u"to represent any series of characters"), this);
    series->setObjectName(u"hintSeries"_s);

    auto* ok = new QPushButton(componentText(u"OK"), this);
    ok->setObjectName(u"ok"_s);
    ok->setDefault(true);
    auto* cancel = new QPushButton(componentText(u"Cancel"), this);
    cancel->setObjectName(u"cancel"_s);
    connect(ok, &QPushButton::clicked, this, &CustomFilterDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CustomFilterDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(caption);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(single);
    layout->addWidget(series);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void CustomFilterDialog::fillOperators(QComboBox* box)
{
    box->addItem(QString(), -1); // no condition
    for (const OperatorInfo& info : allOperators()) {
        if (offered(info.op, m_column))
            box->addItem(componentText(info.name), int(info.op));
    }
}

void CustomFilterDialog::operatorChanged(const ConditionRow& row)
{
    const int op = row.op->currentData().toInt();
    const bool takesValue = op >= 0 && operatorInfo(FilterOperator(op)).arity == Arity::One;
    row.value->setEnabled(takesValue);
    row.invalid->hide();
}

bool CustomFilterDialog::canShow(const FilterGroup& group, Field column)
{
    if (isNegated(group.op) || group.items.size() > 2)
        return false;
    for (const FilterNode& item : group.items) {
        const FilterCondition* condition = item.condition();
        if (!condition || condition->column != column || !offered(condition->op, column))
            return false;
    }
    return true;
}

void CustomFilterDialog::setFilter(const FilterGroup& group)
{
    const FilterGroup shown = canShow(group, m_column) ? group : FilterGroup();
    m_filter = shown;
    (isConjunction(shown.op) ? m_and : m_or)->setChecked(true);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const ConditionRow& row = m_rows[i];
        const FilterCondition* condition
            = i < shown.items.size() ? shown.items[i].condition() : nullptr;
        row.op->setCurrentIndex(condition ? row.op->findData(int(condition->op)) : 0);
        row.value->setEditText(condition && !condition->values.empty()
                ? m_columns.formatValue(m_column, condition->values.front())
                : QString());
        operatorChanged(row);
    }
}

std::optional<FilterGroup> CustomFilterDialog::edited() const
{
    FilterGroup group;
    group.op = m_or->isChecked() ? GroupOperator::Or : GroupOperator::And;
    for (const ConditionRow& row : m_rows) {
        const int op = row.op->currentData().toInt();
        if (op < 0)
            continue;
        FilterCondition condition {m_column, FilterOperator(op), {}};
        if (operatorInfo(condition.op).arity == Arity::One) {
            const QString text = row.value->currentText();
            if (text.isEmpty())
                continue;
            std::optional<FieldValue> value = m_columns.parseValue(m_column, text);
            if (!value)
                return std::nullopt;
            condition.values.push_back(std::move(*value));
        }
        group.items.emplace_back(std::move(condition));
    }
    return group;
}

bool CustomFilterDialog::checkValues()
{
    bool valid = true;
    for (const ConditionRow& row : m_rows) {
        const QString text = row.value->currentText();
        const bool bad = row.value->isEnabled() && !text.isEmpty()
            && !m_columns.parseValue(m_column, text).has_value();
        row.invalid->setVisible(bad);
        valid = valid && !bad;
    }
    return valid;
}

void CustomFilterDialog::accept()
{
    if (!checkValues())
        return;
    if (std::optional<FilterGroup> group = edited()) {
        m_filter = std::move(*group);
        QDialog::accept();
    }
}
