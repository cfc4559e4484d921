#pragma once

#include <QComboBox>
#include <QStringList>

#include <functional>

// An editable choice of a column's values for the filter dialogs: the values
// are read the first time the list opens, since reading them means walking
// every row. An empty field shows "<empty>".
class ValueBox : public QComboBox
{
public:
    using Source = std::function<QStringList()>;

    explicit ValueBox(Source source, QWidget* parent = nullptr);

    void showPopup() override;
    // Reads the values now, if not yet done.
    void loadValues();

    // The same values, read once for every box that asks.
    static Source readOnce(Source source);

private:
    Source m_source;
    bool m_loaded = false;
};
