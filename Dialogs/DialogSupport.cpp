#include "DialogSupport.h"

#include <QLayout>
#include <QPushButton>

namespace {
std::function<int(QDialog &)> modalRunner;
}

void FitFixedSize(QDialog &dialog, QSize designSize)
{
    QSize size = designSize;
    dialog.ensurePolished();  // measured in the style and font the dialog is shown in
    // Texts may have changed since the layouts last measured, and until the
    // dialog is shown nothing tells the layouts around a panel.
    for (QWidget *child : dialog.findChildren<QWidget *>())
        child->updateGeometry();
    for (QLayout *layout : dialog.findChildren<QLayout *>())
        layout->invalidate();
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
