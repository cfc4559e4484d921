#include "valuebox.h"

#include "componenttexts.h"

#include <QLineEdit>

#include <memory>
#include <optional>

ValueBox::ValueBox(Source source, QWidget* parent)
    : QComboBox(parent)
    , m_source(std::move(source))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(10);
    lineEdit()->setPlaceholderText(componentText(u"<empty>"));
}

void ValueBox::loadValues()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (!m_source)
        return;
    // Filling the list must not replace what the user typed.
    const QString text = currentText();
    const bool blocked = blockSignals(true);
    addItems(m_source());
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    setEditText(text);
    blockSignals(blocked);
}

ValueBox::Source ValueBox::readOnce(Source source)
{
    if (!source)
        return source;
    auto values = std::make_shared<std::optional<QStringList>>();
    return [source = std::move(source), values] {
        if (!*values)
            *values = source();
        return **values;
    };
}

void ValueBox::showPopup()
{
    loadValues();
    QComboBox::showPopup();
}
