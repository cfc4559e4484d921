#include "catalogfixture.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>

using TestEnvironment::readFile;
using TestEnvironment::writeFile;

namespace {

const QByteArray header = "barcode\ttitolo\tautore\tcasaedi\targomento\tannopubblicazione\t"
                          "collana\tnpagine\tlingua\tformato\tprezzo\tcosto\tnote\tNumScad\r\n";

} // namespace

TEST(ProgramDir, IsTheExecutablesFolderWithOneSeparator)
{
    EXPECT_EQ(
        programDirOf(QStringLiteral("/opt/tomario/Tomario")), QStringLiteral("/opt/tomario/"));
    EXPECT_EQ(programDirOf(QStringLiteral("/opt//tomario/./bin/../Tomario")),
        QStringLiteral("/opt/tomario/"));
    EXPECT_EQ(programDirOf(QStringLiteral("/Tomario")), QStringLiteral("/"));
}

class DataModuleTest : public CatalogueFixture
{
protected:
    QString dataFile() const { return dir.filePath(QStringLiteral("Librdata.dat")); }
    QStringList filesInProgramDir() const
    {
        return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(DataModuleTest, FirstRunInAnEmptyFolderWritesTheHeader)
{
    dm.DataModuleCreate();
    EXPECT_EQ(dm.ProgramDir, dir.path() + u'/');
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.recordCount(), 0);
    dm.DataModuleDestroy();
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(readFile(dataFile()), header);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(DataModuleTest, RewritesTheFileEvenWhenNothingChanged)
{
    writeFile(dataFile(), "titolo\nB\nA\n");
    dm.DataModuleCreate();
    EXPECT_EQ(table.recordCount(), 2);
    dm.DataModuleDestroy();
    const QByteArray written = readFile(dataFile());
    EXPECT_TRUE(written.startsWith(header));
    EXPECT_EQ(written.count("\r\n"), 3);
    EXPECT_TRUE(reports.isEmpty());
}

// After a load that stopped, the file is kept aside before it is replaced.
TEST_F(DataModuleTest, FailedLoadKeepsABackupAndSaysWhere)
{
    const QByteArray original = header + "\tA\r\n\tB\t\t\t\t31/02/2001\r\n\tC\r\n";
    writeFile(dataFile(), original);
    dm.DataModuleCreate();
    EXPECT_EQ(table.recordCount(), 1);
    ASSERT_FALSE(dm.backupPath().isEmpty());
    EXPECT_EQ(readFile(dm.backupPath()), original);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("'31/02/2001' is not a valid date.\n\n")));
    EXPECT_TRUE(reports[0].contains(dm.backupPath()));

    dm.DataModuleDestroy();
    EXPECT_EQ(readFile(dm.backupPath()), original);
    EXPECT_EQ(readFile(dataFile()).count("\r\n"), 2);

    // A second failure in the same second makes a backup of its own.
    const QString firstBackup = dm.backupPath();
    TDM1 again(options());
    again.DataModuleCreate();
    writeFile(dataFile(), original);
    again.ScadData.close();
    again.DataModuleCreate();
    EXPECT_NE(again.backupPath(), firstBackup);
    EXPECT_EQ(readFile(firstBackup), original);
}

// A file that could not be read, nor copied, is never replaced.
TEST_F(DataModuleTest, UnreadableFileIsNeverReplaced)
{
    QDir(dir.path()).mkdir(QStringLiteral("Librdata.dat"));
    dm.DataModuleCreate();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(dataFile())));
    addBook(QStringLiteral("NEW"));
    dm.DataModuleDestroy();
    EXPECT_TRUE(QFileInfo(dataFile()).isDir());
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[1].startsWith(
        QStringLiteral("Il catalogo e' stato salvato in una copia di emergenza")));
    const QStringList copies
        = QDir(dir.filePath(QStringLiteral("emergency"))).entryList(QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(
        readFile(dir.filePath(QStringLiteral("emergency/") + copies[0])).contains("\tNEW\t"));
}

// A failed shutdown save: its own message, then an emergency copy and its path.
TEST_F(DataModuleTest, FailedSaveLeavesAnEmergencyCopy)
{
    QTemporaryDir programDir;
    TDM1::Options o = options();
    o.executablePath = programDir.filePath(QStringLiteral("Tomario"));
    TDM1 module(o);
    module.DataModuleCreate();
    module.ScadData.append();
    module.ScadData.setText(Field::Titolo, QStringLiteral("SALVAMI"));
    module.ScadData.post();
    ASSERT_TRUE(programDir.remove()); // the folder is gone: the file cannot be created

    module.DataModuleDestroy();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[0].startsWith(
        QStringLiteral("Cannot create file \"%1Librdata.dat\". ").arg(module.ProgramDir)));
    const QString emergencyDir = dir.filePath(QStringLiteral("emergency"));
    const QStringList copies = QDir(emergencyDir).entryList(QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    const QString copy = emergencyDir + u'/' + copies[0];
    EXPECT_TRUE(reports[1].contains(copy));
    EXPECT_TRUE(readFile(copy).contains("\tSALVAMI\t"));
}
