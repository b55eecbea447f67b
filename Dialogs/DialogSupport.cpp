#include "DialogSupport.h"

#include <QLayout>
#include <QPushButton>

namespace {
std::function<int(QDialog &)> modalRunner;
}

void FitFixedSize(QDialog &dialog, QSize designSize)
{
    QSize size = designSize;
    if (const QLayout *layout = dialog.layout())
        size = size.expandedTo(layout->sizeHint());
    dialog.setFixedSize(size);
}

void ClearDefaultButtons(QDialog &dialog)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

int RunModal(QDialog &dialog)
{
    return modalRunner ? modalRunner(dialog) : dialog.exec();
}

void SetModalRunner(std::function<int(QDialog &)> runner)
{
    modalRunner = std::move(runner);
}

InputBlock::InputBlock(QWidget *window)
    : m_window(window), m_wasEnabled(window && window->isEnabled())
{
    if (m_window)
        m_window->setEnabled(false);
}

InputBlock::~InputBlock()
{
    if (m_window)
        m_window->setEnabled(m_wasEnabled);
}
