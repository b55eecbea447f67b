#include "LayoutHelpers.h"

#include "uMain.h"

#include <QIcon>
#include <QLabel>
#include <QToolButton>

namespace {
constexpr int BitButtonSize = 21;
}

QPixmap ResourcePicture(const QString &name)
{
    return QPixmap(TMainFrm::ResourceFolder() + name);
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
