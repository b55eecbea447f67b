#pragma once

#include "SystemInfo.h"

#include <QDialog>
#include <QLocale>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

// The maker's addresses that the about box shows and opens. Placeholders of
// the reserved example domain until the vendor sets its own.
struct VendorAddresses {
    const char *supportMail;
    const char *webSite;
};
inline constexpr VendorAddresses Vendor{"support@example.com", "https://www.example.com/"};

// The three memory rows as shown; a placeholder each when the figures could not be read.
struct MemoryRows {
    QString total;
    QString free;
    QString inUse;
};
MemoryRows FormatMemoryRows(const std::optional<SystemInfo::MemoryStatus> &status, const QLocale &locale);

// The about box: version, the maker's mail and web links, the computer's
// memory and a description of its operating system, in white on a picture.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // A control's Tag that keeps its own caption in every language.
    static constexpr int FixedCaption = 1001;

    // The whole life of one box, owned by the given window.
    static void Execute(QWidget *owner);

    explicit TAboutBox(QWidget *parent = nullptr);

    // Fills every text: language texts by Tag, version, links, system, memory.
    void FormCreate();
    // Opens the clicked link: its Hint followed by its caption.
    void LMDLabel7Click(QLabel *sender);

    QLabel *Image1;
    QLabel *LMDLabel2;
    QLabel *LMDLabel4;
    QLabel *LMDLabel7;
    QLabel *LMDLabel5;
    QLabel *LMDLabel6;
    QLabel *Label4;
    QLabel *Label2, *Label5;
    QLabel *Label1, *Label6;
    QLabel *Label3, *Label7;
    QLabel *LMDLabel11;
    QPushButton *LMDButton1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *text(const char *name, const QString &caption, int tag);
    void buildLayout();

    struct Tagged {
        QWidget *control;
        int tag;
    };
    std::vector<Tagged> m_tags;  // in creation order
};
