#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

class QLabel;
class QLayout;
class QToolButton;
class QWidget;

// Small builders shared by the main window's layout files.

// Height of the progress bars (status bar and module page).
inline constexpr int ProgressBarHeight = 13;

// A picture of Ressourcen/ (a null pixmap when the file is missing).
QPixmap ResourcePicture(const QString &name);
// A fixed-size picture.
QLabel *PictureLabel(QWidget *parent, const QString &name, QSize size);
// The small picture button beside a byte edit.
QToolButton *PictureButton(QWidget *parent, const QString &pictureName);
// The design's flat speed buttons: a picture and a text, no focus on click.
QToolButton *SpeedButton(QWidget *parent, const QString &pictureName);
// Keeps a label at least as large as it would be with any of the texts, so
// that a change among them moves nothing beside it.
void ReserveRoom(QLabel *label, const QStringList &texts);
// Tighter rows (not columns) and top and bottom margins, for pages that share their
// height with the log.
void MakeCompact(QLayout *layout);
