#include "NavigationList.h"

#include "LogWriter.h"

#include <QBitmap>
#include <QPainter>

namespace {
constexpr TColor SelectedTextColour = 0xFFFFFF;
constexpr TColor HotTextColour = clBlue;
constexpr int TextGap = 4;
// Room between the longest caption and the selection picture's rounded right edge.
constexpr int CaptionMargin = 14;
}

int NavigationList::Model::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NodeCount;
}

QVariant NavigationList::Model::data(const QModelIndex &index, int role) const
{
    const int node = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return providers.text ? providers.text(node) : QString();
    case Qt::DecorationRole:
        return providers.picture ? QVariant(providers.picture(node)) : QVariant();
    case Qt::ToolTipRole: {
        const QString hint = providers.hint ? providers.hint(node) : QString();
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    default:
        return {};
    }
}

Qt::ItemFlags NavigationList::Model::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !m_enabled[static_cast<std::size_t>(index.row())])
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void NavigationList::Model::refresh()
{
    emit dataChanged(index(0), index(NodeCount - 1));
}

void NavigationList::SelectionModel::setCurrentIndex(const QModelIndex &index,
                                                     SelectionFlags command)
{
    const int oldNode = currentIndex().isValid() ? currentIndex().row() : -1;
    const int newNode = index.isValid() ? index.row() : -1;
    if (newNode == oldNode) {
        QItemSelectionModel::setCurrentIndex(index, command);
        return;
    }
    if (frozen || (filter && !filter(oldNode, newNode)))
        return;
    QItemSelectionModel::setCurrentIndex(index, command);
}

void NavigationList::SelectionModel::select(const QModelIndex &index, SelectionFlags command)
{
    select(QItemSelection(index, index), command);
}

void NavigationList::SelectionModel::select(const QItemSelection &selection,
                                            SelectionFlags command)
{
    // Only the focused entry is ever highlighted: a refused move keeps the old highlight.
    if (!onlyCurrentRow(selection))
        return;
    QItemSelectionModel::select(selection, command);
}

bool NavigationList::SelectionModel::onlyCurrentRow(const QItemSelection &selection) const
{
    const QModelIndexList indexes = selection.indexes();
    if (indexes.isEmpty())
        return false;
    for (const QModelIndex &index : indexes) {
        if (index.row() != currentIndex().row() || !currentIndex().isValid())
            return false;
    }
    return true;
}

void NavigationList::Delegate::paintBackground(QPainter *painter, const QRect &rect,
                                               const QString &fileName) const
{
    QPixmap picture(folder + fileName);
    if (picture.isNull())
        return;  // a missing picture leaves the plain background
    // Drawn transparent: the bottom-left pixel's colour is the see-through one.
    const QImage image = picture.toImage();
    const QColor transparent = image.pixelColor(0, image.height() - 1);
    picture.setMask(QBitmap::fromImage(image.createMaskFromColor(transparent.rgb())));
    painter->drawPixmap(rect, picture);
}

void NavigationList::Delegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    const int node = index.row();
    const bool selected = option.state & QStyle::State_Selected;
    const bool hot = node == m_list->hotNode() && node != SeparatorNode;
    painter->save();
    painter->fillRect(option.rect, option.palette.button());
    if (selected)
        paintBackground(painter, option.rect, QStringLiteral("Selected.bmp"));
    else if (hot)
        paintBackground(painter, option.rect, QStringLiteral("Hover.bmp"));

    QRect textRect = option.rect;
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull()) {
        const int top = option.rect.top() + (option.rect.height() - PictureHeight) / 2;
        painter->drawPixmap(QRect(option.rect.left() + TextGap, top, PictureWidth, PictureHeight),
                            picture);
        textRect.setLeft(option.rect.left() + TextGap + PictureWidth + TextGap);
    }
    TColor colour = selected ? SelectedTextColour : clBlack;
    if (hot)
        colour = HotTextColour;
    QFont font = option.font;
    int alignment = Qt::AlignVCenter | Qt::TextSingleLine;
    if (node == SeparatorNode) {
        font.setUnderline(true);
        alignment |= Qt::AlignHCenter;
    }
    painter->setFont(font);
    painter->setPen(ColourFromBgr(colour));
    painter->drawText(textRect, alignment, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize NavigationList::Delegate::sizeHint(const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    const int height = index.row() == SeparatorNode ? SeparatorHeight : NodeHeight;
    return QSize(option.rect.width(), height);
}

NavigationList::NavigationList(QWidget *parent) : QListView(parent), m_model(new Model(this))
{
    setModel(m_model);
    setSelectionModel(new SelectionModel(m_model, this));
    setItemDelegate(new Delegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setFixedWidth(ListWidth);
    setMouseTracking(true);
    setBackgroundRole(QPalette::Button);
    viewport()->setBackgroundRole(QPalette::Button);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(this, &QAbstractItemView::entered, this, [this](const QModelIndex &index) {
        m_hotNode = index.isValid() ? index.row() : -1;
        viewport()->update();
    });
    // Below the last entry the mouse is over no entry.
    connect(this, &QAbstractItemView::viewportEntered, this, [this] {
        m_hotNode = -1;
        viewport()->update();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    emit nodeFocused(current.row());
            });
}

void NavigationList::setProviders(Providers providers)
{
    m_model->providers = std::move(providers);
}

void NavigationList::setChangeFilter(std::function<bool(int, int)> filter)
{
    static_cast<SelectionModel *>(selectionModel())->filter = std::move(filter);
}

void NavigationList::setPaintFolder(const QString &folder)
{
    static_cast<Delegate *>(itemDelegate())->folder = folder;
}

void NavigationList::setNodeEnabled(int node, bool enabled)
{
    m_model->m_enabled[static_cast<std::size_t>(node)] = enabled;
    m_model->refresh();
}

bool NavigationList::isNodeEnabled(int node) const
{
    return node >= 0 && node < NodeCount && m_model->m_enabled[static_cast<std::size_t>(node)];
}

void NavigationList::setNodeVisible(int node, bool visible)
{
    setRowHidden(node, !visible);
}

void NavigationList::refreshEntries()
{
    m_model->refresh();
}

void NavigationList::fitWidthToCaptions(const QStringList &captions)
{
    int width = 0;
    for (const QString &caption : captions) {
        const int needed = TextGap + PictureWidth + TextGap
                           + fontMetrics().horizontalAdvance(caption) + CaptionMargin;
        width = std::max(width, needed);
    }
    setFixedWidth(captions.isEmpty() ? ListWidth : width);
}

int NavigationList::focusedNode() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void NavigationList::requestFocus(int node)
{
    const QModelIndex index = (node >= 0 && node < NodeCount) ? m_model->index(node) : QModelIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void NavigationList::leaveEvent(QEvent *event)
{
    m_hotNode = -1;
    viewport()->update();
    QListView::leaveEvent(event);
}

void NavigationList::focusInEvent(QFocusEvent *event)
{
    // Gaining the focus without a focused entry, the view would focus the first
    // enabled one and so change the page; only a choice may do that.
    auto *selection = static_cast<SelectionModel *>(selectionModel());
    selection->frozen = true;
    QListView::focusInEvent(event);
    selection->frozen = false;
}

void NavigationList::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    emit focusLost();
}
