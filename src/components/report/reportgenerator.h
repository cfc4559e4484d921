#pragma once

#include "linebreaker.h"
#include "pagestore.h"
#include "reporttemplate.h"
#include "textmeasurer.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPaintDevice;
class RecordSource;

// Lays out a report: the title band once at the top of the first page, then
// the detail band for every record in the source's own order, page after
// page, measuring text on the output device. Every page goes to the page
// store as soon as it is complete.
//
// Positions on the page are whole tenths of a millimetre. A band that does not
// fit the space left starts a new page, unless it is taller than the room
// between the margins. A stretching item makes its band grow by one line
// height for every line beyond those its box holds, as far as the page
// allows; the lines left over continue on the next page, where the band is
// placed again with only its stretching items.
class ReportGenerator
{
public:
    ReportGenerator(const ReportTemplate& layout, RecordSource& source, const QPaintDevice& device,
        PageStore& pages);
    ~ReportGenerator();

    // A page (counted from 0) is complete in the store.
    std::function<void(int page)> onPageFinished;
    // Records done x 100 / record count, after each record.
    std::function<void(int percent)> onProgress;
    // Lets pending events run between records; by default those of the
    // application. cancel() may be called from them.
    std::function<void()> pumpEvents;

    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }

    // Generates every page into the store, which it clears first. Returns
    // false when cancelled; the pages finished until then stay.
    bool run();

private:
    struct Item;
    struct Band;

    void prepare();
    const TextMeasurer& measurerFor(const ReportFont& font);
    Band prepareBand(const ReportBand& band);
    void newPage();
    void finishPage();
    void placeBand(Band& band, bool withRecord);
    void placeContinuation(Band& band);
    int spaceLeft() const;

    const ReportTemplate& m_layout;
    RecordSource& m_source;
    const QPaintDevice& m_device;
    PageStore& m_pages;
    bool m_cancelled = false;

    std::vector<std::unique_ptr<TextMeasurer>> m_measurers;
    std::unique_ptr<Band> m_titleBand;
    std::unique_ptr<Band> m_detailBand;
    int m_position = 0; // tenths of a millimetre from the paper's top
};
