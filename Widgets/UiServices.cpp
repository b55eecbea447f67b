#include "UiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
// True when the description already ends with its patterns in parentheses,
// as "Rich text files (*.rtf)" does.
bool EndsWithPatterns(const QString &description, const QString &patterns)
{
    const QString text = description.trimmed();
    const qsizetype open = text.lastIndexOf(QLatin1Char('('));
    if (!text.endsWith(QLatin1Char(')')) || open < 0)
        return false;
    QString shown = text.mid(open + 1, text.size() - open - 2);
    return shown.replace(QLatin1Char(';'), QLatin1Char(' ')).simplified() == patterns;
}

class MessageBoxServices : public UiServices {
public:
    bool askYesNo(QWidget *parent, const QString &text) override
    {
        return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                     QMessageBox::Yes | QMessageBox::No)
               == QMessageBox::Yes;
    }
    bool warnYesNo(QWidget *parent, const QString &text) override
    {
        return QMessageBox::warning(parent, QApplication::applicationDisplayName(), text,
                                    QMessageBox::Yes | QMessageBox::No)
               == QMessageBox::Yes;
    }
    void showError(QWidget *parent, const QString &title, const QString &text) override
    {
        QMessageBox::critical(parent, title, text);
    }
    void showMessage(QWidget *parent, const QString &text) override
    {
        QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
    }
    QString saveFileName(QWidget *parent, const FileDialogRequest &request) override
    {
        return run(parent, request, QFileDialog::AcceptSave);
    }
    QString openFileName(QWidget *parent, const FileDialogRequest &request) override
    {
        return run(parent, request, QFileDialog::AcceptOpen);
    }

private:
    static QString run(QWidget *parent, const FileDialogRequest &request,
                       QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, request.title, request.folder, request.filter);
        dialog.setAcceptMode(mode);
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        if (mode == QFileDialog::AcceptOpen)
            dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

MessageBoxServices messageBoxServices;
UiServices *installedServices = nullptr;
}

void UiServices::showWarning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void setUiServices(UiServices *services)
{
    installedServices = services;
}

UiServices &uiServices()
{
    return installedServices ? *installedServices : messageBoxServices;
}

QString QtFileFilter(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns =
            QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified();
        if (EndsWithPatterns(parts[i], patterns))
            filters << parts[i].trimmed();
        else
            filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (filters.isEmpty())
        return windowsFilter;
    return filters.join(QStringLiteral(";;"));
}
