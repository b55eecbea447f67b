// The fuse and lock edits, the SPIEN protection and the bit editor.
#include "uMain.h"

#include "ExceptionGuard.h"
#include "FuseBitText.h"
#include "HexByteEdit.h"
#include "SettingsValues.h"
#include "UiServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
constexpr int SpienBoxTitle = 75;
constexpr int SpienBoxText = 73;
constexpr int SpienBoxTextEnd = 74;
constexpr int ByteDigits = 2;
// The editor opens this far right of its button.
constexpr int BitsPanelGap = 2;
const QString SpienName = QStringLiteral("SPIEN");

// True when the settings allow SPIEN to be left unprogrammed; read at each use.
bool spienAllowed()
{
    return ReadBoolSetting(SettingsSection::ProgramOptions, QStringLiteral("Spien"), false);
}

constexpr TModul::BitByte Bytes[] = {TModul::LowFuse, TModul::HighFuse, TModul::ExtFuse, TModul::LockByte};
}

const TModul *TMainFrm::boardDefinition() const
{
    return DefinitionAt(cbb_Microcontroller, cbb_Microcontroller->currentIndex());
}

QLineEdit *TMainFrm::byteEdit(TModul::BitByte byte) const
{
    QLineEdit *const edits[] = {edt_FuseBitsLow, edt_FuseBitsHigh, edt_FuseBitsExtendet, edt_LockBits};
    return edits[byte];
}

void TMainFrm::setupFuseEdits()
{
    const std::weak_ptr<const bool> alive = m_alive;
    const auto whileAlive = [alive](std::function<void()> handler) {
        return [alive, handler] {
            if (!alive.expired())
                Guarded(handler);
        };
    };
    for (TModul::BitByte byte : Bytes) {
        QLineEdit *edit = byteEdit(byte);
        new HexByteEdit(edit, whileAlive([this] { focusNextPrevChild(true); }),
                        whileAlive([this, edit] { edt_FuseBitsLowExit(edit); }));
    }
    // An opening button takes the focus, which closes an open editor before it opens for its byte.
    for (QToolButton *button : {btn_ChangeLow, btn_ChangeHigh, btn_ChangeExtended, btn_ChangeLock})
        button->setFocusPolicy(Qt::StrongFocus);
    QWidget *const tabOrder[] = {chk_Bit[7], chk_Bit[6], chk_Bit[5], chk_Bit[4], chk_Bit[3],
                                 chk_Bit[2], chk_Bit[1], chk_Bit[0], btn_OK,     btn_Abort};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    for (int bit = 0; bit < BitsPerByte; ++bit)
        chk_Bit[bit]->setObjectName(QStringLiteral("chk_Bit%1").arg(bit));
    // A pop-up over the page: framed, so that it does not merge with the groups below it.
    pnl_Bits->setObjectName(QStringLiteral("pnl_Bits"));
    pnl_Bits->setAttribute(Qt::WA_StyledBackground);
    pnl_Bits->setStyleSheet(QStringLiteral("#pnl_Bits { background: palette(window); border: 1px solid palette(shadow); }"));
    // Another window or a pop-up taking the focus leaves the editor open.
    connect(qApp, &QApplication::focusChanged, this, [this, alive](QWidget *old, QWidget *now) {
        if (!alive.expired() && pnl_Bits->isVisible() && old && now && pnl_Bits->isAncestorOf(old)
            && !pnl_Bits->isAncestorOf(now) && now->window() == this)
            Guarded([this] { pnl_BitsExit(); });
    });
}

void TMainFrm::showBitTooltip(TModul::BitByte byte)
{
    const TModul *device = boardDefinition();
    if (!device)
        return;
    QLineEdit *edit = byteEdit(byte);
    // Cleared first: a text that is not hexadecimal is left without one.
    edit->setToolTip(QString());
    edit->setToolTip(BitTooltip(edit->text(), BitNamesOf(*device, byte)));
}

void TMainFrm::checkSpienJtagen(const TModul &device, bool (&flags)[2]) const
{
    Utility->CheckSpienJtagen(device, flags, edt_FuseBitsLow->text(), edt_FuseBitsHigh->text(),
                              edt_FuseBitsExtendet->text());
}

void TMainFrm::refreshFuseWarning()
{
    const TModul *device = boardDefinition();
    if (!device)
        return;
    bool flags[2] = {false, false};
    checkSpienJtagen(*device, flags);
    ShowFuseWarning(flags);
}

void TMainFrm::edt_FuseBitsLowChange()
{
    showBitTooltip(TModul::LowFuse);
    refreshFuseWarning();
}

void TMainFrm::edt_FuseBitsHighChange()
{
    // A new high byte deserves the SPIEN warning again.
    SpienWarningShown = false;
    showBitTooltip(TModul::HighFuse);
}

void TMainFrm::edt_FuseBitsExtendetChange()
{
    showBitTooltip(TModul::ExtFuse);
}

void TMainFrm::edt_LockBitsChange()
{
    showBitTooltip(TModul::LockByte);
}

void TMainFrm::edt_FuseBitsLowExit(QLineEdit *sender)
{
    const TModul *device = boardDefinition();
    if (!device)
        return;
    bool flags[2] = {false, false};
    checkSpienJtagen(*device, flags);
    std::uint8_t byte = 0;
    int bit = -1;
    if (!spienAllowed() && device->FindFuseBit(SpienName, byte, bit)) {
        QLineEdit *forced = byteEdit(TModul::BitByte(byte));
        forced->setText(ProgrammedBitText(forced->text(), bit));
        if (flags[0] && !SpienWarningShown)
            uiServices().showWarning(this, Utility->Text(SpienBoxTitle),
                                     Utility->Text(SpienBoxText) + QStringLiteral("\r\n")
                                         + Utility->Text(SpienBoxTextEnd));
        SpienWarningShown = true;
    }
    while (sender->text().size() < ByteDigits)
        sender->setText(QLatin1Char('0') + sender->text());
    refreshFuseWarning();
}

void TMainFrm::openBitEditor(TModul::BitByte byte)
{
    const TModul *device = boardDefinition();
    if (!device)
        return;
    QToolButton *const buttons[] = {btn_ChangeLow, btn_ChangeHigh, btn_ChangeExtended, btn_ChangeLock};
    QToolButton *button = buttons[byte];
    QPoint corner = button->mapTo(this, QPoint(button->width() + BitsPanelGap, 0));
    // Only the lock byte's editor, at the window's right edge, could leave the window.
    if (byte == TModul::LockByte && corner.x() + pnl_Bits->width() > width())
        corner.setX(width() - pnl_Bits->width());
    pnl_Bits->move(corner);
    for (QCheckBox *box : chk_Bit)
        box->setEnabled(true);
    const BitBoxes boxes = OpenBitBoxes(byteEdit(byte)->text(), BitNamesOf(*device, byte), byte, spienAllowed());
    for (int bit = 0; bit < BitsPerByte; ++bit) {
        chk_Bit[bit]->setText(boxes.captions[bit]);
        chk_Bit[bit]->setEnabled(boxes.enabled[bit]);
        chk_Bit[bit]->setChecked(boxes.checked[bit]);
    }
    m_bitsTarget = byte;
    pnl_Bits->adjustSize();
    pnl_Bits->show();
    pnl_Bits->raise();
    // Bit 0 takes the focus, or the first bit above it that can.
    QWidget *focus = btn_OK;
    for (int bit = BitsPerByte - 1; bit >= 0; --bit) {
        if (boxes.enabled[bit])
            focus = chk_Bit[bit];
    }
    focus->setFocus(Qt::OtherFocusReason);
}

void TMainFrm::btn_ChangeLowClick() { openBitEditor(TModul::LowFuse); }
void TMainFrm::btn_ChangeHighClick() { openBitEditor(TModul::HighFuse); }
void TMainFrm::btn_ChangeExtendedClick() { openBitEditor(TModul::ExtFuse); }
void TMainFrm::btn_ChangeLockClick() { openBitEditor(TModul::LockByte); }

void TMainFrm::btn_OKClick()
{
    std::array<bool, BitsPerByte> checked {};
    for (int bit = 0; bit < BitsPerByte; ++bit)
        checked[bit] = chk_Bit[bit]->isChecked();
    byteEdit(m_bitsTarget)->setText(BitBoxesValue(checked));
    pnl_Bits->hide();
    refreshFuseWarning();
}

void TMainFrm::btn_AbortClick()
{
    pnl_Bits->hide();
}

void TMainFrm::pnl_BitsExit()
{
    pnl_Bits->hide();
}

void TMainFrm::btn_FuseDefaultClick()
{
    const TModul *device = boardDefinition();
    if (!device)
        return;
    edt_FuseBitsLow->setText(device->DefaultFuseLow);
    edt_FuseBitsHigh->setText(device->DefaultFuseHigh);
    edt_FuseBitsExtendet->setText(device->DefaultFuseExt);
    refreshFuseWarning();
}

void TMainFrm::btn_LockDefaultClick()
{
    if (const TModul *device = boardDefinition())
        edt_LockBits->setText(device->DefaultLock);
}
