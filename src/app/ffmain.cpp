#include "ffmain.h"

#include "application.h"
#include "bandedgrid.h"
#include "bandedtableview.h"
#include "error.h"
#include "htmllisting.h"
#include "linklabel.h"
#include "maingrid.h"
#include "shellopen.h"
#include "splitbutton.h"
#include "udm1.h"
#include "ufmfscad.h"
#include "ufqrstscad.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

// The pictures of the program live in the application library; they are
// registered before the first window uses them.
static void registerResources()
{
    Q_INIT_RESOURCE(app);
}

namespace {

QFont designFont(const char* family, int points, bool bold = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

// A panel with a lowered bevel of the given width, in the light 3D colour.
QFrame* bevelPanel(const char* name, int bevel, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(bevel);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Midlight);
    return panel;
}

} // namespace

TFFMAIN::TFFMAIN(TDM1& dm, QWidget* parent)
    : QMainWindow(parent)
    , m_dm(dm)
{
    registerResources();
    setObjectName(QStringLiteral("FFMAIN"));
    setWindowTitle(Application::title());
    setFont(designFont("MS Sans Serif", 8));
    setBackgroundRole(QPalette::Button);
    resize(966, 587);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    cxGrid1DBTableView1 = new BandedTableView(dm.ScadData, this);
    configureMainGrid(*cxGrid1DBTableView1);
    cxGrid1 = new BandedGrid(*cxGrid1DBTableView1, this);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));

    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    central->setBackgroundRole(QPalette::Button);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(cxGrid1, 1);
    middle->addWidget(makeButtonColumn());
    layout->addLayout(middle, 1);
    layout->addWidget(makeFooter());
    setCentralWidget(central);

    setTabOrder(cxGrid1, BBInserisci);
    setTabOrder(BBInserisci, BBModifica);
    setTabOrder(BBModifica, BBCancella);
    setTabOrder(BBCancella, BBStampa);
    setTabOrder(BBStampa, BBEsci);
}

TFFMAIN::~TFFMAIN() = default;

QString TFFMAIN::webAddress()
{
    return QStringLiteral("www.tomario.example");
}

QWidget* TFFMAIN::makeHeader()
{
    QFrame* header = bevelPanel("Panel1", 3, this);
    header->setFixedHeight(89);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(3, 3, 3, 3);
    auto* banner = new QLabel(header);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setPixmap(QPixmap(QStringLiteral(":/tomario/banner.png")));
    banner->setAlignment(Qt::AlignCenter);
    layout->addWidget(banner, 1);

    auto* box = new QWidget(header);
    box->setFixedWidth(168);
    auto* captions = new QVBoxLayout(box);
    captions->setContentsMargins(2, 2, 2, 2);
    captions->setSpacing(2);
    auto caption = [box](const char* name, const char* text, const QFont& f) {
        auto* label = new QLabel(QString::fromLatin1(text), box);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(f);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAlignment(Qt::AlignCenter);
        label->setForegroundRole(QPalette::Highlight);
        return label;
    };
    QLabel* libri = caption("Label1", "LIBRI", designFont("Tahoma", 12, true));
    libri->setFixedHeight(39);
    captions->addWidget(libri);
    captions->addWidget(caption("Label2", "Versione free 1.0", designFont("Tahoma", 11)));
    layout->addWidget(box);
    return header;
}

QPushButton* TFFMAIN::makeCommandButton(
    const char* name, const QString& caption, int top, QWidget* column)
{
    QPushButton* button = qstrcmp(name, "BBStampa") == 0 ? new SplitButton(caption, column)
                                                         : new QPushButton(caption, column);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(8, top, 121, 33);
    button->setFont(designFont("Tahoma", 11));
    button->setAutoDefault(false);
    button->setDefault(false);
    QPalette colors = button->palette();
    colors.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(colors);
    return button;
}

QWidget* TFFMAIN::makeButtonColumn()
{
    QFrame* column = bevelPanel("Panel2", 2, this);
    column->setFrameStyle(QFrame::Box | QFrame::Sunken);
    column->setFixedWidth(142);
    BBInserisci = makeCommandButton("BBInserisci", QStringLiteral("Inserisci"), 8, column);
    BBModifica = makeCommandButton("BBModifica", QStringLiteral("Modifica"), 40, column);
    BBCancella = makeCommandButton("BBCancella", QStringLiteral("Cancella"), 72, column);
    BBStampa = static_cast<SplitButton*>(
        makeCommandButton("BBStampa", QStringLiteral("Stampa"), 104, column));
    BBEsci = makeCommandButton("BBEsci", QStringLiteral("Esci"), 160, column);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    StampaTOTALE1 = PopupMenu1->addAction(QStringLiteral("Stampa TOTALE"));
    StampaTOTALE1->setObjectName(QStringLiteral("StampaTOTALE1"));
    StampaHTMLselezione1 = PopupMenu1->addAction(QStringLiteral("Stampa HTML (selezione)"));
    StampaHTMLselezione1->setObjectName(QStringLiteral("StampaHTMLselezione1"));
    BBStampa->setDropDownMenu(PopupMenu1);

    connect(BBInserisci, &QPushButton::clicked, this, &TFFMAIN::BBInserisciClick);
    connect(BBModifica, &QPushButton::clicked, this, &TFFMAIN::BBModificaClick);
    connect(BBCancella, &QPushButton::clicked, this, &TFFMAIN::BBCancellaClick);
    connect(BBEsci, &QPushButton::clicked, this, &TFFMAIN::BBEsciClick);
    connect(StampaTOTALE1, &QAction::triggered, this, &TFFMAIN::StampaTOTALE1Click);
    connect(StampaHTMLselezione1, &QAction::triggered, this, &TFFMAIN::StampaHTMLselezione1Click);
    return column;
}

QWidget* TFFMAIN::makeFooter()
{
    QFrame* footer = bevelPanel("Panel3", 3, this);
    footer->setFixedHeight(49);
    auto* layout = new QHBoxLayout(footer);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);

    auto* credit = new QLabel(QStringLiteral("TOMARIO - il catalogo dei tuoi libri"), footer);
    credit->setObjectName(QStringLiteral("Label3"));
    credit->setFont(designFont("MS Sans Serif", 12));
    credit->setAlignment(Qt::AlignCenter);
    credit->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QPalette black = credit->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    credit->setPalette(black);
    layout->addWidget(credit, 1);

    auto* linkBox = new QWidget(footer);
    linkBox->setFixedWidth(226);
    auto* linkLayout = new QHBoxLayout(linkBox);
    linkLayout->setContentsMargins(4, 0, 4, 0);
    auto* link = new LinkLabel(webAddress(), linkBox);
    link->setObjectName(QStringLiteral("cxHyperLinkEdit1"));
    QFont linkFont = designFont("MS Sans Serif", 12);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setAlignment(Qt::AlignCenter);
    linkLayout->addWidget(link);
    connect(
        link, &LinkLabel::activated, this, [](const QUrl& url) { QDesktopServices::openUrl(url); });
    layout->addWidget(linkBox);
    layout->addSpacing(4);

    QFrame* rightBox = bevelPanel("Panel4", 1, footer);
    rightBox->setFixedWidth(170);
    for (const char* caption : {"?", "i"}) {
        auto* hidden = new QPushButton(QString::fromLatin1(caption), rightBox);
        hidden->hide();
    }
    layout->addWidget(rightBox);
    return footer;
}

void TFFMAIN::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TFFMAIN::FormShow()
{
    BBInserisci->setFocus();
}

namespace {

// Makes the row that was current when it was made current again when it
// ends, wherever that row went meanwhile.
class ReturnToCurrentRow
{
public:
    explicit ReturnToCurrentRow(CatalogueTable& table)
        : m_table(table)
        , m_bookmark(table.remember())
    { }
    ~ReturnToCurrentRow()
    {
        m_table.returnTo(m_bookmark);
        m_table.forget(m_bookmark);
    }
    ReturnToCurrentRow(const ReturnToCurrentRow&) = delete;
    ReturnToCurrentRow& operator=(const ReturnToCurrentRow&) = delete;

private:
    CatalogueTable& m_table;
    Bookmark m_bookmark;
};

} // namespace

void TFFMAIN::BBInserisciClick()
{
    if (!m_entryForm)
        return;
    ReturnToCurrentRow current(m_dm.ScadData);
    m_entryForm->OpenForInsert();
}

void TFFMAIN::BBModificaClick()
{
    if (!m_entryForm || m_dm.ScadData.recordCount() == 0)
        return;
    ReturnToCurrentRow current(m_dm.ScadData);
    m_entryForm->OpenForModify();
}

void TFFMAIN::BBCancellaClick()
{
    CatalogueTable& table = m_dm.ScadData;
    if (table.recordCount() == 0)
        return;
    QMessageBox question(QMessageBox::Question, QStringLiteral("Confirm"),
        QStringLiteral("Confermi cancellazione nominativo ?"), QMessageBox::Yes | QMessageBox::No);
    question.setObjectName(QStringLiteral("ConfirmDelete"));
    question.setDefaultButton(QMessageBox::Yes);
    question.setEscapeButton(QMessageBox::No);
    if (question.exec() == QMessageBox::Yes)
        table.remove();
}

void TFFMAIN::BBEsciClick()
{
    close();
}

void TFFMAIN::StampaTOTALE1Click()
{
    if (m_dm.ScadData.recordCount() == 0 || !m_reportForm)
        return;
    m_reportForm->PreviewReport();
}

void TFFMAIN::StampaHTMLselezione1Click()
{
    // The filter plays no part here: with every book filtered out the page
    // still shows the headers.
    if (m_dm.ScadData.recordCount() == 0)
        return;
    try {
        WriteHtmlListing(m_dm.ProgramDir + HtmlListFileName, *cxGrid1DBTableView1);
    } catch (const Error& error) {
        Application::showErrorBox(error.message());
        return;
    } catch (const std::exception& error) {
        Application::showErrorBox(QString::fromLocal8Bit(error.what()));
        return;
    }
    ShellOpen(HtmlListFileName, QString(), m_dm.ProgramDir, 5);
}

void TFFMAIN::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
