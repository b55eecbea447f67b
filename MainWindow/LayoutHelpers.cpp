#include "LayoutHelpers.h"

#include "StartupPrefetch.h"
#include "uMain.h"

#include <QIcon>
#include <QLabel>
#include <QBoxLayout>
#include <QGridLayout>
#include <QToolButton>

namespace {
constexpr int BitButtonSize = 21;
constexpr int CompactSpacing = 3;
constexpr int CompactMargin = 4;
}

QPixmap ResourcePicture(const QString &name)
{
    return StartupPrefetch::picture(TMainFrm::ResourceFolder() + name);
}

QLabel *PictureLabel(QWidget *parent, const QString &name, QSize size)
{
    auto *label = new QLabel(parent);
    label->setPixmap(ResourcePicture(name));
    label->setScaledContents(true);
    label->setFixedSize(size);
    return label;
}

QToolButton *PictureButton(QWidget *parent, const QString &pictureName)
{
    auto *button = new QToolButton(parent);
    button->setIcon(QIcon(ResourcePicture(pictureName)));
    button->setFixedSize(BitButtonSize, BitButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton *SpeedButton(QWidget *parent, const QString &pictureName)
{
    auto *button = new QToolButton(parent);
    button->setIcon(QIcon(ResourcePicture(pictureName)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

void ReserveRoom(QLabel *label, const QStringList &texts)
{
    QLabel probe;
    probe.setFont(label->font());
    probe.setWordWrap(label->wordWrap());
    probe.setIndent(label->indent());
    probe.setMargin(label->margin());
    QSize room;
    for (const QString &text : texts) {
        probe.setText(text);
        room = room.expandedTo(probe.sizeHint());
    }
    label->setMinimumSize(room);
}

void MakeCompact(QLayout *layout)
{
    if (auto *grid = qobject_cast<QGridLayout *>(layout))
        grid->setVerticalSpacing(CompactSpacing);
    else if (auto *box = qobject_cast<QBoxLayout *>(layout);
             box && (box->direction() == QBoxLayout::TopToBottom
                     || box->direction() == QBoxLayout::BottomToTop))
        box->setSpacing(CompactSpacing);
    QMargins margins = layout->contentsMargins();
    margins.setTop(CompactMargin);
    margins.setBottom(CompactMargin);
    layout->setContentsMargins(margins);
}
