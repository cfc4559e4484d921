#include "ffmain.h"

#include "application.h"
#include "cataloguemodel.h"
#include "udm1.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTableView>

TFFMAIN::TFFMAIN(TDM1& dm, QWidget* parent)
    : QMainWindow(parent)
    , m_dm(dm)
    , m_view(new QTableView(this))
{
    setObjectName(QStringLiteral("FFMAIN"));
    setWindowTitle(Application::title());
    resize(966, 587);
    m_view->setModel(new CatalogueModel(dm.ScadData, m_view));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    setCentralWidget(m_view);
}

void TFFMAIN::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
