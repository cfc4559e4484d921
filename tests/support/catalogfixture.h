#pragma once

#include "udm1.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// A data module over a temporary program folder, with Italian regional
// settings and a clock stopped at 12 April 2005, 18:30:05.
class CatalogueFixture : public ::testing::Test
{
protected:
    static qint64 fixedSecond()
    {
        return QDateTime(QDate(2005, 4, 12), QTime(18, 30, 5)).toSecsSinceEpoch();
    }

    CatalogueFixture()
        : dm(options())
        , table(dm.ScadData)
    {
        table.open();
    }

    TDM1::Options options()
    {
        TDM1::Options o;
        o.executablePath = dir.filePath(QStringLiteral("Tomario"));
        o.settings = RegionalSettings::italian();
        o.clock = [this] { return now; };
        o.report = [this](const QString& message) { reports << message; };
        o.emergencyDir = dir.filePath(QStringLiteral("emergency"));
        return o;
    }

    // Stores a new book with the given field texts.
    RowId addBook(std::initializer_list<std::pair<Field, QString>> values)
    {
        table.append();
        for (const auto& [field, text] : values)
            table.setText(field, text);
        table.post();
        return table.currentRow();
    }
    RowId addBook(const QString& title) { return addBook({{Field::Titolo, title}}); }

    QStringList titlesInOrder() const
    {
        QStringList titles;
        for (int i = 0; i < table.recordCount(); ++i)
            titles << table.displayText(table.rowAt(i), Field::Titolo);
        return titles;
    }

    QTemporaryDir dir;
    qint64 now = fixedSecond();
    QStringList reports;
    TDM1 dm;
    CatalogueTable& table;
};
