#include "recordsource.h"

#include "catalogtable.h"

int CatalogueRecordSource::recordCount() const
{
    return m_table.recordCount();
}

void CatalogueRecordSource::first()
{
    m_table.first();
    m_position = m_table.currentPosition();
    m_atEnd = m_table.atEnd();
}

void CatalogueRecordSource::next()
{
    if (m_atEnd)
        return;
    if (m_position + 1 >= m_table.recordCount()) {
        // The last row, or rows were removed meanwhile.
        if (m_table.recordCount() > 0 && m_table.currentPosition() != m_table.recordCount() - 1)
            m_table.last();
        m_table.next();
        m_atEnd = true;
        return;
    }
    if (m_table.currentPosition() != m_position)
        m_table.moveTo(m_position);
    m_table.next();
    m_position = m_table.currentPosition();
}

bool CatalogueRecordSource::atEnd() const
{
    return m_atEnd;
}

int CatalogueRecordSource::fieldIndex(QStringView name) const
{
    const std::optional<Field> field = findField(name);
    return field ? index(*field) : -1;
}

QString CatalogueRecordSource::displayText(int field) const
{
    if (m_atEnd || m_position < 0 || m_position >= m_table.recordCount())
        return QString();
    return m_table.displayText(m_table.rowAt(m_position), Field(field));
}
