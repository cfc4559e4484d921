#include "udm1.h"

#include "atomicfile.h"
#include "error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

const QString DataFileName = QStringLiteral("Librdata.dat");
const QString HtmlListFileName = QStringLiteral("LibrLst.html");

QString programDirOf(const QString& executablePath)
{
    QString dir
        = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(executablePath).absolutePath()));
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return dir;
}

TDM1::TDM1(Options options, QObject* parent)
    : QObject(parent)
    , ScadData(options.settings)
    , DSScad(&ScadData)
    , m_options(std::move(options))
    , m_timeStamp(m_options.clock)
{
    if (!m_options.report)
        m_options.report = [](const QString& message) { qWarning("%s", qPrintable(message)); };
    ScadData.setAfterInsert([this] { ScadDataAfterInsert(); });
}

void TDM1::DataModuleCreate()
{
    ProgramDir = programDirOf(m_options.executablePath);
    if (ScadData.isOpen())
        ScadData.close();
    ScadData.open();
    const QString path = dataFilePath();
    if (!QFileInfo::exists(path))
        return;
    try {
        ScadData.LoadDataFile(path);
    } catch (const std::exception& error) {
        const auto* own = dynamic_cast<const Error*>(&error);
        const QString message = own ? own->message() : QString::fromLocal8Bit(error.what());
        m_loadFailed = true;
        QString note;
        if (makeBackup()) {
            note = QStringLiteral("Il file originale e' conservato in \"%1\"")
                       .arg(QDir::toNativeSeparators(m_backupPath));
        } else {
            note = QStringLiteral("Non e' stato possibile copiare il file originale: alla "
                                  "chiusura non sara' sostituito e il catalogo sara' salvato "
                                  "in una copia di emergenza");
        }
        m_options.report(withFullStop(message) + QStringLiteral("\n\n") + note);
    }
}

void TDM1::DataModuleDestroy()
{
    // A file that could not be read, nor copied aside, is never replaced.
    if (m_loadFailed && m_backupPath.isEmpty() && !makeBackup()) {
        saveEmergencyCopy();
    } else {
        try {
            ScadData.SaveDataFile(dataFilePath());
        } catch (const Error& error) {
            m_options.report(error.message());
            saveEmergencyCopy();
        }
    }
    if (ScadData.isOpen())
        ScadData.close();
}

void TDM1::ScadDataAfterInsert()
{
    ScadData.setValue(Field::Note, QString());
    ScadData.setValue(Field::Barcode, QString());
    ScadData.setValue(Field::Titolo, QString());
    ScadData.setValue(Field::Autore, QString());
    ScadData.setValue(Field::Casaedi, QString());
    ScadData.setValue(Field::Argomento, QString());
    ScadData.setValue(Field::AnnoPubblicazione, QDate(1900, 1, 1));
    ScadData.setValue(Field::Collana, QString());
    ScadData.setValue(Field::NPagine, qint32(0));
    ScadData.setValue(Field::Lingua, QString());
    ScadData.setValue(Field::Formato, QString());
    ScadData.setValue(Field::Prezzo, 0.0);
    ScadData.setValue(Field::Costo, 0.0);
    ScadData.setValue(Field::NumScad, m_timeStamp.now());
}

// A name in dir that no file has yet: stem, the date and time, and a number
// when needed.
QString TDM1::freeFileName(const QString& dir, const QString& stem) const
{
    const QString when = QDateTime::fromSecsSinceEpoch(m_options.clock())
                             .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("%1-%2.dat").arg(stem, when);
    for (int n = 2; QFileInfo::exists(QDir(dir).filePath(name)); ++n)
        name = QStringLiteral("%1-%2-%3.dat").arg(stem, when).arg(n);
    return QDir(dir).filePath(name);
}

bool TDM1::makeBackup()
{
    const QString path = dataFilePath();
    if (!QFileInfo(path).isFile())
        return false;
    const QString backup = freeFileName(ProgramDir, QFileInfo(DataFileName).completeBaseName());
    if (!QFile::copy(path, backup))
        return false;
    m_backupPath = backup;
    return true;
}

void TDM1::saveEmergencyCopy()
{
    QString dir = m_options.emergencyDir;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString path = freeFileName(dir, QStringLiteral("Librdata-emergenza"));
    try {
        if (!QDir().mkpath(dir))
            throw Error(cannotCreateFileMessage(path, QStringLiteral("Cannot create folder")));
        ScadData.SaveDataFile(path);
        m_options.report(QStringLiteral("Il catalogo e' stato salvato in una copia di emergenza: "
                                        "\"%1\"")
                             .arg(QDir::toNativeSeparators(path)));
    } catch (const Error& error) {
        m_options.report(QStringLiteral("Non e' stato possibile salvare il catalogo neanche in "
                                        "una copia di emergenza: %1")
                             .arg(withFullStop(error.message())));
    }
}
