#include "HexView.h"

#include "HexViewModel.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
constexpr int RowPadding = 4;
constexpr int AddressIndent = 3;

// Room beside a cell's text, in half character widths: a blank and a half
// between two bytes, as the design's columns leave.
constexpr int CellPaddingHalves = 3;

int widestShownCharacter(const QFontMetrics &metrics)
{
    int widest = 0;
    for (int code = HexViewModel::FirstShownChar; code <= HexViewModel::LastShownChar; ++code)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(code)));
    return widest;
}

// The address and spacer cells never become current, whatever asks for it.
class ByteFocusModel : public QItemSelectionModel {
public:
    using QItemSelectionModel::QItemSelectionModel;
    void setCurrentIndex(const QModelIndex &index, SelectionFlags command) override
    {
        if (!index.isValid() || HexViewModel::isByteColumn(index.column()))
            QItemSelectionModel::setCurrentIndex(index, command);
    }
};

// Paints background and text only: no selection, no focus rectangle, no
// style panel, which keeps a screenful of cells cheap.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QVariant background = index.data(Qt::BackgroundRole);
        if (!background.isValid())
            return;
        painter->fillRect(option.rect, background.value<QColor>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        if (index.column() == HexViewModel::AddressColumn)
            painter->drawText(option.rect.adjusted(AddressIndent, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        else
            painter->drawText(option.rect, Qt::AlignCenter, index.data().toString());
    }
};
}

HexView::HexView(const THexContainer &image, std::function<int()> deviceSize, QWidget *parent)
    : QTableView(parent), m_model(new HexViewModel(image, std::move(deviceSize), this))
{
    // The font first: the headers then size their sections once, for the font they keep.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(FontPixels);
    setFont(font);
    horizontalHeader()->setFont(font);  // the style gives headers a font of their own
    m_model->setPalette(palette());
    setModel(m_model);
    QItemSelectionModel *previous = selectionModel();
    setSelectionModel(new ByteFocusModel(m_model, this));
    delete previous;
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setShowGrid(false);
    setWordWrap(false);
    setUpColumns();
    setUpRows();
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                m_model->setFocusedCell(current);
                viewport()->update();
            });
}

void HexView::setUpColumns()
{
    QHeaderView *header = horizontalHeader();
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    const int character = widestShownCharacter(fontMetrics());
    const auto cellWidth = [&](int column) {
        return HexViewModel::textLength(column) * character + character * CellPaddingHalves / 2;
    };
    for (int column = 0; column < HexViewModel::ColumnCount; ++column) {
        // The spacer is a character column's width of blank between the two halves.
        const int cell = cellWidth(column == HexViewModel::SpacerColumn ? HexViewModel::FirstCharColumn : column);
        header->resizeSection(column, std::max(cell, header->sectionSizeHint(column)));
    }
}

// Every row has the same fixed height, so the view never measures rows and
// scrolls through the largest image (262,145 lines) as fast as through a small one.
void HexView::setUpRows()
{
    QHeaderView *header = verticalHeader();
    header->hide();
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultSectionSize(fontMetrics().height() + RowPadding);
}

void HexView::imageChanged()
{
    m_model->refresh();
    viewport()->update();
}

void HexView::imageReplaced()
{
    setCurrentIndex({});
    imageChanged();
    scrollToTop();
}

std::pair<int, int> HexView::focusColumns() const
{
    return m_model->focusColumns();
}

// The keys step over the spacer between the two halves; Home lands on the first byte.
QModelIndex HexView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    if (!next.isValid() || HexViewModel::isByteColumn(next.column()))
        return next;
    int column = HexViewModel::FirstHexColumn;
    if (next.column() == HexViewModel::SpacerColumn)
        column = cursorAction == MoveLeft || cursorAction == MovePrevious
                     ? HexViewModel::SpacerColumn - 1
                     : HexViewModel::FirstCharColumn;
    return m_model->index(next.row(), column);
}

void HexView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        m_model->setPalette(palette());
    if (event->type() == QEvent::FontChange) {
        setUpColumns();
        setUpRows();
    }
    QTableView::changeEvent(event);
}
