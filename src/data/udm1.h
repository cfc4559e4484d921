#pragma once

#include "catalogtable.h"
#include "datasource.h"
#include "timestamp.h"

#include <QObject>
#include <QString>

#include <functional>

// The catalogue data file and the HTML listing, in the program's folder.
extern const QString DataFileName;
extern const QString HtmlListFileName;

// The folder of the executable at path, ending in exactly one separator.
QString programDirOf(const QString& executablePath);

// The data module: the catalogue table, its data source for the main window
// and the program's folder. It loads the data file when the program starts
// and writes it back when the program ends. Failures it meets there are told
// to the user through the reporter and never lose the catalogue: after a
// failed load the file is copied aside before it is replaced, and a failed
// save leaves an emergency copy.
class TDM1 : public QObject
{
    Q_OBJECT

public:
    // Shows a message to the user.
    using Reporter = std::function<void(const QString& message)>;

    struct Options
    {
        QString executablePath;
        RegionalSettings settings = RegionalSettings::fromSystem();
        TimeStampKey::Clock clock = &TimeStampKey::systemClock;
        Reporter report;
        // Where an emergency copy of the catalogue goes; empty for the user's
        // application data folder.
        QString emergencyDir;
    };

    explicit TDM1(Options options, QObject* parent = nullptr);

    CatalogueTable ScadData;
    DataSource DSScad;
    // Set by DataModuleCreate, never changed afterwards.
    QString ProgramDir;

    void DataModuleCreate();
    void DataModuleDestroy();
    void ScadDataAfterInsert();

    QString dataFilePath() const { return ProgramDir + DataFileName; }
    // The copy of the data file made after a failed load, if any.
    const QString& backupPath() const { return m_backupPath; }

private:
    bool makeBackup();
    void saveEmergencyCopy();
    QString freeFileName(const QString& dir, const QString& stem) const;

    Options m_options;
    TimeStampKey m_timeStamp;
    bool m_loadFailed = false;
    QString m_backupPath;
};
