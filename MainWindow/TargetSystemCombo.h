#pragma once

#include <QComboBox>
#include <QPixmap>
#include <QStyledItemDelegate>

// The target-system list: tall items with the system's picture and its name beside it.
class TargetSystemCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 64;
    static constexpr int PictureWidth = 85;
    static constexpr int TextGap = 10;

    explicit TargetSystemCombo(QWidget *parent = nullptr);
    void addTarget(const QString &text, const QPixmap &picture);
};

// Selected items in the highlight colours, others black on white; picture at
// the left, one line of text vertically centred beside it.
class TargetSystemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
