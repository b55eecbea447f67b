// The spin control's rules: positions, steps, events and the associate's text,
// on the settings of the board's current fields (20..800 in steps of 10, "mA").
#include "UpDownCore.h"
#include "u_UpDownEx.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {
struct Spin {
    UpDownCore core;
    QString shown = QStringLiteral("50mA");  // the associate's text
    QStringList events;
    bool refuse = false;

    Spin()
    {
        core.setAssociate({[this] { return shown; }, [this](const QString &text) { shown = text; }});
        core.setMin(20);
        core.setMax(800);
        core.setIncrement(10);
        core.setPosition(50);
        core.OnChangingEx = [this](bool &allow, std::int16_t value, TUpDownDirection direction) {
            events << QStringLiteral("changing %1 %2").arg(value).arg(int(direction));
            allow = !refuse;
        };
        core.OnClick = [this](TUDBtnType button) { events << (button == btNext ? "next" : "prev"); };
        core.setSuffix(QStringLiteral("mA"));
    }
};

struct Row {
    const char *name;
    std::function<void(Spin &)> act;
    QString shown;       // the associate's text afterwards
    int stored;          // the stored position before it is read
    int position;        // Position as read
    QString events;
};

const Row Rows[] = {
    {"SameValueFiresNothing", [](Spin &s) { s.core.setPosition(50); }, "50mA", 50, 50, ""},
    // A board value below the range: stored as it is, the text untouched, read back (and sent) clamped.
    {"BelowRangeStoredReadClamped", [](Spin &s) { s.core.setPosition(10); }, "50mA", 10, 20, "changing 10 0"},
    {"StepUp", [](Spin &s) { s.core.step(true); }, "60mA", 60, 60, "changing 60 1,next"},
    {"StepFromBelowRange", [](Spin &s) { s.core.setPosition(10); s.core.step(false); }, "20mA", 20, 20,
     "changing 10 0,changing 10 0,next"},
    // A step onto an end still has its direction; only one past it has none.
    {"StopsAtMax", [](Spin &s) { s.core.setPosition(790); s.core.step(true); s.core.step(true); }, "800mA", 800, 800,
     "changing 790 1,changing 800 1,next,changing 810 0"},
    {"StopsAtMin", [](Spin &s) { s.core.setPosition(30); s.core.step(false); s.core.step(false); }, "20mA", 20, 20,
     "changing 30 2,changing 20 2,prev,changing 10 0"},
    {"WrapsToMin", [](Spin &s) { s.core.setWrap(true); s.core.setPosition(800); s.core.step(true); }, "20mA", 20, 20,
     "changing 800 1,changing 810 0,prev"},
    {"RefusedStepStillRefreshesText", [](Spin &s) { s.refuse = true; s.shown = "?"; s.core.step(true); }, "50mA", 50,
     50, "changing 60 1"},
    {"PlainNumberInAssociateIsTakenUp",
     [](Spin &s) { s.core.setSuffix({}); s.shown = "300"; s.core.step(true); }, "310", 310, 310, "changing 310 1,next"},
    {"PrefixRefreshesText", [](Spin &s) { s.core.setPrefix("I="); }, "I=50mA", 50, 50, ""},
    {"NoAssociateShowsNothing", [](Spin &s) { s.core.setAssociate({}); s.core.setSuffix("x"); s.core.step(true); },
     "50mA", 60, 60, "changing 60 1,next"},
};

class UpDownCoreTest : public ::testing::TestWithParam<Row> {};
}

TEST_P(UpDownCoreTest, FollowsTheRules)
{
    Spin spin;
    const Row &row = GetParam();
    row.act(spin);
    const int stored = spin.core.storedPosition();  // before Position() reads it
    EXPECT_EQ(std::tuple(spin.shown, stored, spin.core.Position(), spin.events.join(u',')),
              std::tuple(row.shown, row.stored, row.position, row.events));
}

INSTANTIATE_TEST_SUITE_P(Spin, UpDownCoreTest, ::testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(UpDownEx, AnAssociateBelongsToOneSpinControlOfTheSameParent)
{
    QWidget parent, other;
    auto *field = new QLabel(&parent);
    field->setObjectName("Field");
    auto *first = new TUpDownEx(&parent);
    auto *second = new TUpDownEx(&parent);
    first->setObjectName("First");
    first->setAssociate(field);
    first->setSuffix("mA");
    EXPECT_EQ(field->text(), "0mA");
    try {
        second->setAssociate(field);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Field ist bereits mit First verknüpft"));
    }
    first->setAssociate(new QLabel(&other));
    EXPECT_EQ(first->Associate(), nullptr);
    second->setAssociate(field);
    delete field;
    EXPECT_EQ(second->Associate(), nullptr);
}
