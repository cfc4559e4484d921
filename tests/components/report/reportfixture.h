#pragma once

#include "pageelements.h"
#include "pagestore.h"
#include "recordsource.h"
#include "reporttemplate.h"
#include "textmeasurer.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// A measuring device of printer resolution (1200 dpi) that costs nothing.
QImage printerResolutionDevice();

// The report fonts, on the device of printer resolution.
TextMeasurer courier8();

// Records held in a list, in the order given.
class FakeRecords : public RecordSource
{
public:
    FakeRecords(QStringList fields, std::vector<QStringList> rows)
        : m_fields(std::move(fields))
        , m_rows(std::move(rows))
    { }

    int recordCount() const override { return int(m_rows.size()); }
    void first() override
    {
        m_position = 0;
        m_pastEnd = false;
    }
    void next() override
    {
        if (m_position + 1 < recordCount())
            ++m_position;
        else
            m_pastEnd = true;
    }
    bool atEnd() const override { return m_rows.empty() || m_pastEnd; }
    int fieldIndex(QStringView name) const override;
    QString displayText(int field) const override;

    int position() const { return m_position; }
    // A field whose text cannot be produced for the records that hold this.
    static QString failingText() { return QStringLiteral("<fails>"); }

private:
    QStringList m_fields;
    std::vector<QStringList> m_rows;
    int m_position = -1;
    bool m_pastEnd = false;
};

// A template like the catalogue's, reduced: a title band of 32.54 mm with a
// heading, a detail band of 17.99 mm with a code item at the top, the caption
// "NOTE:" and a stretching notes item at 12.70 mm.
struct SmallTemplate
{
    SmallTemplate();
    SmallTemplate(const SmallTemplate&) = delete;

    ReportItem heading;
    ReportItem code;
    ReportItem noteCaption;
    ReportItem notes;
    ReportBand title;
    ReportBand detail;
    ReportTemplate layout;
};
