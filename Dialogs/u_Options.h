#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class RadioGroup;

// One page of the options dialog's page list.
struct TEntry {
    TEntry(const QString &caption, int index) : Index(index), Caption(caption) {}
    int Index;  // 0 the general page, 1 the language page
    QString Caption;
};

// The options dialog: the program options of the settings file and the
// language, chosen from the language libraries beside the executable. OK
// writes all five settings; Cancel and the close box write nothing.
class TOptionsFrm : public QDialog {
    Q_OBJECT
public:
    // Largest number of recent files the edit takes.
    static constexpr int MaxRecentFiles = 99;

    // The whole life of one dialog, owned by the given window; an error ends it
    // before it is shown.
    static void Execute(QWidget *owner);

    explicit TOptionsFrm(QWidget *parent = nullptr);

    void SetTranslation();
    void ListLanguages();
    void LoadSettings();
    void SaveSettings();
    void vst_leftFocusChanged(QTreeWidgetItem *node);

    QTreeWidget *vst_left;
    QWidget *pnl_General;
    QCheckBox *chk_AskClosing;
    QCheckBox *chk_AskReload;
    QLabel *lbl_RecentFiles;
    QLineEdit *edt_RecentFiles;
    QFrame *Bevel1;
    QCheckBox *chk_Spien;
    QWidget *pnl_Language;
    RadioGroup *rg_Language;
    QPushButton *btn_OK;
    QPushButton *btn_Cancel;

private:
    void buildGeneralPage();
    void addPage(const QString &caption, int index);
    // OK is offered only while the recent-files count is a whole number in range.
    void checkRecentFiles();
};
