#include "recordsource.h"

#include "catalogtable.h"

int CatalogueRecordSource::recordCount() const
{
    return m_table.recordCount();
}

void CatalogueRecordSource::first()
{
    m_table.first();
}

void CatalogueRecordSource::next()
{
    m_table.next();
}

bool CatalogueRecordSource::atEnd() const
{
    return m_table.atEnd();
}

int CatalogueRecordSource::fieldIndex(QStringView name) const
{
    const std::optional<Field> field = findField(name);
    return field ? index(*field) : -1;
}

QString CatalogueRecordSource::displayText(int field) const
{
    return m_table.displayText(Field(field));
}
