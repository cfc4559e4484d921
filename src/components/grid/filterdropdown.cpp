#include "filterdropdown.h"

#include "componenttexts.h"

#include <QKeyEvent>
#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

constexpr int specialEntries = 4;

} // namespace

FilterDropDown::FilterDropDown(QWidget* parent)
    : QFrame(parent, Qt::Popup)
    , m_list(new QListView(this))
    , m_model(new QStringListModel(this))
{
    setObjectName(QStringLiteral("FilterDropDown"));
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_list);
    m_list->setModel(m_model);
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->installEventFilter(this);
    connect(m_list, &QListView::clicked, this, [this] { pickCurrent(); });
}

void FilterDropDown::open(int column, const QStringList& values, const QRect& under)
{
    m_column = column;
    QStringList entries {componentText(u"(All)"), componentText(u"(Custom...)"),
        componentText(u"(Blanks)"), componentText(u"(NonBlanks)")};
    entries += values;
    m_model->setStringList(entries);
    m_list->setCurrentIndex(m_model->index(0));
    const int width = std::max(under.width(), 180);
    const int rows = std::min(int(entries.size()), 16);
    resize(width, rows * m_list->sizeHintForRow(0) + 2 * frameWidth() + 4);
    QPoint at = under.bottomLeft();
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr) {
        const QRect available = screen->availableGeometry();
        at.setX(std::min(at.x(), available.right() - width));
    }
    move(at);
    show();
    m_list->setFocus();
}

ColumnFilterPick FilterDropDown::pickAt(int row) const
{
    using Kind = ColumnFilterPick::Kind;
    static const Kind special[specialEntries]
        = {Kind::All, Kind::Custom, Kind::Blanks, Kind::NonBlanks};
    if (row < specialEntries)
        return {special[row], QString()};
    return {Kind::Value, m_model->stringList().at(row)};
}

void FilterDropDown::pickCurrent()
{
    const int row = m_list->currentIndex().row();
    if (row < 0)
        return;
    hide();
    emit picked(m_column, pickAt(row));
}

bool FilterDropDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pickCurrent();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
