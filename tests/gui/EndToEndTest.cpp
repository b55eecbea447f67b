// The main window against the board simulator on a pseudo-terminal.
#include "GuiFixture.h"

#include "BoardSimulator.h"
#include "DeviceInterface.h"
#include "PortChooser.h"
#include "ProgUSB.h"
#include "Utils.h"

#include <QLabel>
#include <QTextEdit>

TEST_F(GuiTest, ABoardCommandWritesIntoTheLogAndTheTitlePanel)
{
    BoardSimulator board;
    writeSetting("Interface", "ProgrammerCom", board.portPath());
    auto window = createWindow();
    ASSERT_EQ(window->targetMode(), 1);
    EXPECT_EQ(window->ComboBox1->currentText(), board.portPath());
    window->redt_Status->clear();

    const TLogProc log = [&](TFontStyles styles, TColor colour, const QString &text) {
        window->AddLogLine(styles, colour, text);
    };
    ASSERT_TRUE(ProgUSB->Open());
    ASSERT_TRUE(ReadDeviceInfo(log));
    EXPECT_TRUE(CheckDevice(log));
    ProgUSB->Close();

    const QString text = window->redt_Status->toPlainText();
    // The link's own opening and closing lines reach the log through the window link.
    EXPECT_TRUE(text.contains(QStringLiteral("T3001"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("T3003"))) << text.toStdString();
    EXPECT_EQ(window->Label_SystemIdentifier->text(), QString::fromLatin1(BoardIdentifier));
    EXPECT_TRUE(window->Label_SystemSerialNumber->text().endsWith(QStringLiteral("ZDB-000123")));
}
