#include "TargetSystemCombo.h"

#include <QAbstractItemView>
#include <QPainter>

TargetSystemCombo::TargetSystemCombo(QWidget *parent) : QComboBox(parent)
{
    setIconSize(QSize(PictureWidth, ItemHeight));
    setItemDelegate(new TargetSystemDelegate(this));
}

void TargetSystemCombo::addTarget(const QString &text, const QPixmap &picture)
{
    addItem(QIcon(picture), text);
}

void TargetSystemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? palette.highlight().color() : QColor(Qt::white));
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const QSize pictureSize(TargetSystemCombo::PictureWidth, TargetSystemCombo::ItemHeight);
    painter->drawPixmap(option.rect.topLeft(), icon.pixmap(pictureSize));
    painter->setPen(selected ? palette.highlightedText().color() : QColor(Qt::black));
    QRect textRect = option.rect;
    textRect.setLeft(option.rect.left() + TargetSystemCombo::PictureWidth
                     + TargetSystemCombo::TextGap);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize TargetSystemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(TargetSystemCombo::ItemHeight);
    return size;
}
