#include "tomstart.h"

#include "application.h"
#include "cellstyle.h"
#include "ffmain.h"
#include "programlock.h"
#include "shutdownsignals.h"
#include "ufmfscad.h"
#include "ufqrstscad.h"

TomarioProgram::TomarioProgram(Options options)
    : m_options(std::move(options))
{
    if (!m_options.report)
        m_options.report = &Application::showErrorBox;
}

TomarioProgram::~TomarioProgram()
{
    finish();
}

bool TomarioProgram::start()
{
    // A signal that comes while the catalogue loads waits for the message
    // loop, then ends the program the normal way.
    m_signals = std::make_unique<ShutdownSignals>();
    m_lock = std::make_unique<ProgramLock>(programDirOf(m_options.executablePath));
    if (!m_lock->acquire()) {
        m_lock.reset();
        m_options.report(ProgramLock::refusalMessage());
        return false;
    }
    // The system colours of the cells' default look are those of start-up.
    rememberDefaultCellStyleColours(QApplication::palette());

    TDM1::Options dm;
    dm.executablePath = m_options.executablePath;
    dm.settings = m_options.settings;
    dm.report = m_options.report;
    m_dm1 = std::make_unique<TDM1>(std::move(dm));
    m_dm1->DataModuleCreate();

    m_ffmain = std::make_unique<TFFMAIN>(*m_dm1);
    // The entry dialog and the report form stay hidden; the main window's
    // commands use them.
    m_fmfscad = std::make_unique<TFMFSCAD>(m_dm1->ScadData);
    m_ffmain->setEntryForm(m_fmfscad.get());
    m_ffqrstscad = std::make_unique<TFFQRSTSCAD>(m_dm1->ScadData);
    m_ffmain->setReportForm(m_ffqrstscad.get());
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(m_ffmain.get(), &TFFMAIN::closed, qApp, &QCoreApplication::quit);

    QObject::connect(
        m_signals.get(), &ShutdownSignals::shutdownRequested, m_ffmain.get(), &QWidget::close);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_ffmain.get(), &QWidget::close);
    return true;
}

int TomarioProgram::run()
{
    m_ffmain->showMaximized();
    const int result = QCoreApplication::exec();
    finish();
    return result;
}

void TomarioProgram::finish()
{
    if (!m_dm1)
        return;
    m_signals.reset();
    m_ffqrstscad.reset();
    m_fmfscad.reset();
    m_ffmain.reset();
    m_dm1->DataModuleDestroy();
    m_dm1.reset();
    m_lock.reset();
}
