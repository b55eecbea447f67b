#include "u_AboutBox.h"

#include "DialogSupport.h"
#include "LogWriter.h"
#include "Utils.h"
#include "VersionLine.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace {
constexpr QSize DesignSize(424, 408);
constexpr QSize DescriptionSize(339, 46);
constexpr int TextPixelSize = 13;
constexpr int CaptionText = 2001;
constexpr int HeadingTag = 2002;
constexpr int TotalTag = 2003;
constexpr int FreeTag = 2004;
constexpr int InUseTag = 2005;
constexpr int OkTag = 2006;
constexpr int NoTextTag = 0;
constexpr std::uint64_t BytesPerKB = 1024;
constexpr int PercentDecimals = 1;
constexpr TColor TextColour = 0xFFFFFF;
constexpr TColor HoverColour = 0x00FFFF;  // yellow
const char *const HintProperty = "Hint";
const QString Placeholder = QStringLiteral("-");

void setTextColour(QLabel *label, TColor colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColourFromBgr(colour));
    label->setPalette(palette);
}

// The backdrop: deep blue fading to a lighter blue, on which white text reads well.
QPixmap backdrop(QSize size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(18, 44, 92));
    gradient.setColorAt(1, QColor(58, 120, 200));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}
}

MemoryRows FormatMemoryRows(const std::optional<SystemInfo::MemoryStatus> &status, const QLocale &locale)
{
    if (!status || status->totalPhysical == 0)
        return {Placeholder, Placeholder, Placeholder};
    const double used = double(status->totalPhysical - std::min(status->availablePhysical, status->totalPhysical));
    return {locale.toString(qulonglong(status->totalPhysical / BytesPerKB)) + QStringLiteral(" KB"),
            locale.toString(qulonglong(status->availablePhysical / BytesPerKB)) + QStringLiteral(" KB"),
            locale.toString(used * 100 / double(status->totalPhysical), 'f', PercentDecimals)
                + QStringLiteral(" %")};
}

void TAboutBox::Execute(QWidget *owner)
{
    TAboutBox box(owner);
    box.FormCreate();
    RunModal(box);
}

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent, FixedDialogFlags)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);

    LMDLabel2 = text("LMDLabel2", QStringLiteral("Version: "), FixedCaption);
    LMDLabel4 = text("LMDLabel4", QStringLiteral("Support-Mail: "), FixedCaption);
    LMDLabel7 = text("LMDLabel7", QString(), FixedCaption);
    LMDLabel7->setProperty(HintProperty, QStringLiteral("mailto:"));
    LMDLabel5 = text("LMDLabel5", QStringLiteral("Web-Site:"), FixedCaption);
    LMDLabel6 = text("LMDLabel6", QString(), FixedCaption);
    QFont underlined = LMDLabel6->font();
    underlined.setUnderline(true);
    LMDLabel6->setFont(underlined);
    for (QLabel *link : {LMDLabel7, LMDLabel6}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    Label4 = text("Label4", QStringLiteral("Memory:"), HeadingTag);
    Label2 = text("Label2", QStringLiteral("Total:"), TotalTag);
    Label5 = text("Label5", QString(), TotalTag);
    Label1 = text("Label1", QStringLiteral("Free:"), FreeTag);
    Label6 = text("Label6", QString(), FreeTag);
    Label3 = text("Label3", QStringLiteral("in Use:"), InUseTag);
    Label7 = text("Label7", QString(), InUseTag);
    LMDLabel11 = text("LMDLabel11", QString(), NoTextTag);
    LMDLabel11->setWordWrap(true);
    LMDLabel11->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LMDLabel11->setMinimumSize(DescriptionSize);
    LMDButton1 = new QPushButton(QStringLiteral("OK"), this);
    LMDButton1->setObjectName(QStringLiteral("LMDButton1"));
    m_tags.push_back({LMDButton1, OkTag});
    connect(LMDButton1, &QPushButton::clicked, this, &QDialog::accept);

    buildLayout();
    ClearDefaultButtons(*this);
    FitFixedSize(*this, DesignSize);
}

QLabel *TAboutBox::text(const char *name, const QString &caption, int tag)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setPixelSize(TextPixelSize);
    label->setFont(font);
    setTextColour(label, TextColour);
    m_tags.push_back({label, tag});
    return label;
}

void TAboutBox::buildLayout()
{
    auto *mail = new QHBoxLayout;
    mail->addWidget(LMDLabel4);
    mail->addWidget(LMDLabel7, 1);
    auto *web = new QHBoxLayout;
    web->addWidget(LMDLabel5);
    web->addWidget(LMDLabel6, 1);
    auto *memory = new QGridLayout;
    memory->addWidget(Label4, 0, 0, 1, 2);
    int row = 1;
    for (auto [label, value] : {std::pair{Label2, Label5}, {Label1, Label6}, {Label3, Label7}}) {
        memory->addWidget(label, row, 0);
        memory->addWidget(value, row++, 1, Qt::AlignRight);
    }
    memory->setColumnStretch(2, 1);
    auto *button = new QHBoxLayout;
    button->addStretch(1);
    button->addWidget(LMDButton1);

    auto *column = new QVBoxLayout(this);
    column->addStretch(2);
    column->addWidget(LMDLabel2);
    column->addLayout(mail);
    column->addLayout(web);
    column->addStretch(1);
    column->addLayout(memory);
    column->addStretch(1);
    column->addWidget(LMDLabel11);
    column->addLayout(button);
}

void TAboutBox::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Image1->setGeometry(rect());
    Image1->setPixmap(backdrop(size()));
    Image1->lower();
}

void TAboutBox::FormCreate()
{
    for (const Tagged &tagged : m_tags) {
        if (tagged.tag == FixedCaption)
            continue;
        const QString caption = Utility->Text(tagged.tag);
        if (auto *label = qobject_cast<QLabel *>(tagged.control))
            label->setText(caption);
        else if (auto *button = qobject_cast<QPushButton *>(tagged.control))
            button->setText(caption);
    }
    setWindowTitle(Utility->Text(CaptionText));

    std::uint16_t major = 0, minor = 0, release = 0, build = 0;
    ReadVersionNumbers(QCoreApplication::applicationFilePath(), major, minor, release, build);
    LMDLabel2->setText(VersionLine(LMDLabel2->text(), major, minor, release, build));
    LMDLabel7->setText(QString::fromLatin1(Vendor.supportMail));
    LMDLabel6->setText(QString::fromLatin1(Vendor.webSite));
    LMDLabel11->setText(SystemInfo::operatingSystemDescription());

    const MemoryRows rows = FormatMemoryRows(SystemInfo::readMemoryStatus(), QLocale());
    Label5->setText(rows.total);
    Label6->setText(rows.free);
    Label7->setText(rows.inUse);
    FitFixedSize(*this, DesignSize);
}

void TAboutBox::LMDLabel7Click(QLabel *sender)
{
    // A link that cannot be opened does nothing visible.
    QDesktopServices::openUrl(QUrl(sender->property(HintProperty).toString() + sender->text()));
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    auto *link = qobject_cast<QLabel *>(watched);
    if (link) {
        switch (event->type()) {
        case QEvent::Enter:
            setTextColour(link, HoverColour);
            break;
        case QEvent::Leave:
            setTextColour(link, TextColour);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                LMDLabel7Click(link);
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
