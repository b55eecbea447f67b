#include "u_DeviceSettings.h"

#include "DeviceInterface.h"
#include "DialogSupport.h"
#include "ExceptionGuard.h"
#include "ProgUSB.h"
#include "Utils.h"
#include "u_UpDownEx.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr QSize DesignSize(404, 300);
constexpr QSize CurrentFieldSize(68, 23);
constexpr int LargePixelSize = 13;
constexpr std::int16_t MinCurrent = 20;
constexpr std::int16_t MaxCurrent = 800;
constexpr std::int32_t CurrentStep = 10;
constexpr std::int16_t DesignCurrent = 50;
const QString CurrentSuffix = QStringLiteral("mA");

constexpr int CaptionText = 6000;
constexpr int HeadingText = 6001;
constexpr int RevisionText = 6002;
constexpr int SerialText = 6003;
constexpr int WarnCurrentText = 6004;
constexpr int BreakCurrentText = 6005;
constexpr int OscillatorText = 6006;
constexpr int ConnectText = 6007;
constexpr int ReadAgainText = 6008;
constexpr int AbortText = 6009;
constexpr int SaveText = 6010;
constexpr int NoBoardText = 6011;

QFont withPixelSize(QFont font, int pixels)
{
    font.setPixelSize(pixels);
    return font;
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString currentText(int milliamperes)
{
    return QString::number(milliamperes) + CurrentSuffix;
}
}

const char *const TDeviceSettingsForm::OscillatorEntries[OscillatorCount] = {
    "Osc disabled", "1kHz", "5kHz", "10kHz", "50kHz", "100kHz", "250kHz", "500kHz", "1MHz"};

void TDeviceSettingsForm::Execute(QWidget *owner)
{
    TDeviceSettingsForm form(owner);
    form.SetTranslation();
    {
        // The log lines of the read let events through before the dialog is
        // modal: the owner must not start another board operation then.
        InputBlock block(form.parentWidget());
        form.ReadSettings();
    }
    RunModal(form);
}

TDeviceSettingsForm::TDeviceSettingsForm(QWidget *parent)
    : QDialog(parent, FixedDialogFlags),
      m_log([](TFontStyles styles, TColor colour, const QString &text) {
          ProgUSB->Log(styles, colour, text);
      })
{
    setWindowTitle(QStringLiteral("Device Settings"));
    Label2 = named(new QLabel(QStringLiteral("Development System connected:"), this), "Label2");
    Label2->setFont(bold(font()));
    Label_Identifier = named(new QLabel(this), "Label_Identifier");
    Label_Identifier->setFont(bold(withPixelSize(font(), LargePixelSize)));
    Label_SoftwareRevision = named(new QLabel(this), "Label_SoftwareRevision");
    Label_SerialNumber = named(new QLabel(this), "Label_SerialNumber");
    Button_Connect = named(new QPushButton(this), "Button_Connect");
    Panel1 = named(new QFrame(this), "Panel1");
    buildPanel();
    Button_Save = named(new QPushButton(this), "Button_Save");
    Button_Abort = named(new QPushButton(this), "Button_Abort");

    auto *labels = new QVBoxLayout;
    for (QLabel *label : {Label2, Label_Identifier, Label_SoftwareRevision, Label_SerialNumber})
        labels->addWidget(label);
    auto *top = new QHBoxLayout;
    top->addLayout(labels, 1);
    top->addWidget(Button_Connect, 0, Qt::AlignVCenter);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button_Abort);
    buttons->addStretch(1);
    buttons->addWidget(Button_Save);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(Panel1);
    column->addStretch(1);
    column->addLayout(buttons);

    connect(Button_Connect, &QPushButton::clicked, this, [this] { Guarded([this] { Button_ConnectClick(); }); });
    connect(Button_Save, &QPushButton::clicked, this, [this] { Guarded([this] { Button_SaveClick(); }); });
    connect(Button_Abort, &QPushButton::clicked, this, &QDialog::reject);
    ClearDefaultButtons(*this);
    FitFixedSize(*this, DesignSize);
}

void TDeviceSettingsForm::buildPanel()
{
    Panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    const auto heading = [this](const char *name) {
        auto *label = named(new QLabel(Panel1), name);
        label->setFont(bold(font()));
        return label;
    };
    const auto currentField = [this](const char *name) {
        auto *field = named(new QLabel(currentText(DesignCurrent), Panel1), name);
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setAlignment(Qt::AlignCenter);
        field->setFixedSize(CurrentFieldSize);
        field->setFont(withPixelSize(font(), LargePixelSize));
        return field;
    };
    const auto spin = [this](const char *name, QLabel *associate) {
        auto *spin = named(new TUpDownEx(Panel1), name);
        spin->setAssociate(associate);
        spin->setMin(MinCurrent);
        spin->setMax(MaxCurrent);
        spin->setIncrement(CurrentStep);
        spin->setPosition(DesignCurrent);
        spin->setSuffix(CurrentSuffix);
        return spin;
    };
    Label_WarnCurrentText = heading("Label_WarnCurrentText");
    StaticText_WarnCurrent = currentField("StaticText_WarnCurrent");
    UpDownEx_WarnCurrent = spin("UpDownEx_WarnCurrent", StaticText_WarnCurrent);
    Label_BreakCurrentText = heading("Label_BreakCurrentText");
    StaticText_BreakCurrent = currentField("StaticText_BreakCurrent");
    UpDownEx_BreakCurrent = spin("UpDownEx_BreakCurrent", StaticText_BreakCurrent);
    Label_Osc = heading("Label_Osc");
    Label_Osc->setText(QStringLiteral("Oscillator"));
    ComboBox_Oscillator = named(new QComboBox(Panel1), "ComboBox_Oscillator");
    for (const char *entry : OscillatorEntries)
        ComboBox_Oscillator->addItem(QString::fromLatin1(entry));

    auto *grid = new QGridLayout(Panel1);
    const auto fieldWithSpin = [](QLabel *field, TUpDownEx *spin) {
        auto *row = new QHBoxLayout;
        row->setSpacing(0);
        row->addWidget(field);
        row->addWidget(spin);
        row->addStretch(1);
        return row;
    };
    grid->addWidget(Label_WarnCurrentText, 0, 0);
    grid->addLayout(fieldWithSpin(StaticText_WarnCurrent, UpDownEx_WarnCurrent), 1, 0);
    grid->addWidget(Label_BreakCurrentText, 0, 1);
    grid->addLayout(fieldWithSpin(StaticText_BreakCurrent, UpDownEx_BreakCurrent), 1, 1);
    grid->addWidget(Label_Osc, 0, 2);
    grid->addWidget(ComboBox_Oscillator, 1, 2);
}

void TDeviceSettingsForm::SetTranslation()
{
    setWindowTitle(Utility->Text(CaptionText));
    Label2->setText(Utility->Text(HeadingText));
    Label_SoftwareRevision->setText(Utility->Text(RevisionText));
    Label_SerialNumber->setText(Utility->Text(SerialText));
    Label_WarnCurrentText->setText(Utility->Text(WarnCurrentText));
    Label_BreakCurrentText->setText(Utility->Text(BreakCurrentText));
    Label_Osc->setText(Utility->Text(OscillatorText));
    Button_Abort->setText(Utility->Text(AbortText));
    Button_Save->setText(Utility->Text(SaveText));
    FitFixedSize(*this, DesignSize);
}

template <typename Steps> void TDeviceSettingsForm::useLink(Steps steps)
{
    ButtonDisable();
    try {
        steps();
    } catch (...) {
        ShowNoBoard();
        endLinkUse();
        throw;
    }
    endLinkUse();
}

void TDeviceSettingsForm::endLinkUse()
{
    ProgUSB->Close();
    ButtonEnable();
    FitFixedSize(*this, DesignSize);
}

void TDeviceSettingsForm::ReadSettings()
{
    useLink([this] {
        if (ProgUSB->Open() && ReadDeviceInfo(m_log))
            CheckDevice(m_log);
        if (DeviceInfo->Valid)
            ShowBoard();
        else
            ShowNoBoard();
    });
}

void TDeviceSettingsForm::Button_ConnectClick()
{
    Button_Connect->setEnabled(false);
    ReadSettings();
    Button_Connect->setEnabled(true);
}

void TDeviceSettingsForm::Button_SaveClick()
{
    useLink([this] {
        const bool saved = ProgUSB->Open() && ReadDeviceInfo(m_log) && CheckDevice(m_log)
                           && WriteCurrentLimits(std::uint16_t(UpDownEx_WarnCurrent->Position()),
                                                 std::uint16_t(UpDownEx_BreakCurrent->Position()), m_log)
                           && WriteOscillatorIndex(std::uint8_t(ComboBox_Oscillator->currentIndex()), m_log);
        if (!saved)
            ShowNoBoard();
    });
}

void TDeviceSettingsForm::ShowBoard()
{
    Label_Identifier->setText(DeviceInfo->Identifier);
    Label_SoftwareRevision->setText(Utility->Text(RevisionText) + u' ' + DeviceInfo->RevisionString);
    Label_SerialNumber->setText(Utility->Text(SerialText) + u' ' + DeviceInfo->SerialNumber);
    UpDownEx_WarnCurrent->setEnabled(true);
    UpDownEx_BreakCurrent->setEnabled(true);
    UpDownEx_WarnCurrent->setPosition(std::int16_t(DeviceInfo->CurrentWarn));
    UpDownEx_BreakCurrent->setPosition(std::int16_t(DeviceInfo->CurrentBreak));
    // Setting a position leaves the spin control's text alone.
    StaticText_WarnCurrent->setText(currentText(DeviceInfo->CurrentWarn));
    StaticText_BreakCurrent->setText(currentText(DeviceInfo->CurrentBreak));
    Button_Connect->setText(Utility->Text(ReadAgainText));
    Button_Save->setEnabled(true);
    ComboBox_Oscillator->setEnabled(true);
    const int index = DeviceInfo->OscillatorIndex;
    ComboBox_Oscillator->setCurrentIndex(index < ComboBox_Oscillator->count() ? index : 0);
    m_boardShown = true;
}

void TDeviceSettingsForm::ShowNoBoard()
{
    Label_Identifier->setText(Utility->Text(NoBoardText));
    Label_SoftwareRevision->setText(Utility->Text(RevisionText) + QStringLiteral(" -"));
    Label_SerialNumber->setText(Utility->Text(SerialText) + QStringLiteral(" -"));
    UpDownEx_WarnCurrent->setEnabled(false);
    UpDownEx_BreakCurrent->setEnabled(false);
    StaticText_WarnCurrent->setText(currentText(0));
    StaticText_BreakCurrent->setText(currentText(0));
    Button_Connect->setText(Utility->Text(ConnectText));
    Button_Save->setEnabled(false);
    ComboBox_Oscillator->setCurrentIndex(0);
    ComboBox_Oscillator->setEnabled(false);
    m_boardShown = false;
}

void TDeviceSettingsForm::ButtonDisable()
{
    Button_Connect->setEnabled(false);
    Button_Abort->setEnabled(false);
    Button_Save->setEnabled(false);
}

void TDeviceSettingsForm::ButtonEnable()
{
    Button_Connect->setEnabled(true);
    Button_Abort->setEnabled(true);
    Button_Save->setEnabled(DeviceInfo->Valid && m_boardShown);
}
