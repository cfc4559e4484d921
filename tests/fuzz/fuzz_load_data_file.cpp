// Feeds arbitrary bytes to the data file loader. Besides not crashing, a
// load must leave a table whose saved file loads again without error and
// saves back to the very same bytes.
#include "catalogtable.h"
#include "error.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CatalogueTable table(RegionalSettings::italian());
    table.close();
    table.open();
    try {
        table.loadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const Error&) {
        // A malformed file is reported; the rows before it stay.
    }
    if (table.state() != CatalogueTable::State::Browse)
        std::abort();
    const QByteArray saved = table.saveToBytes();

    CatalogueTable again(RegionalSettings::italian());
    again.open();
    again.loadFromBytes(saved); // must not throw
    if (again.recordCount() != table.recordCount() || again.saveToBytes() != saved)
        std::abort();
    return 0;
}
