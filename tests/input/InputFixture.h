// A working database and a preset database made from the schema, a run context that keeps
// every progress value, and a host for the record commands with an MDI area of its own.
#pragma once

#include "common/ProjectFixture.h"
#include "frame/RecordCommands.h"
#include "input/mdiEINGABE.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QStringList>

namespace vnt::test {

class RecordingContext : public ProgressContext {
public:
    std::function<void(int)> onPanel;
    void stbMAIN_PanelClick(int panel) override
    {
        SimpleRunContext::stbMAIN_PanelClick(panel);
        if (onPanel)
            onPanel(panel);
    }
};

class TestHost : public RecordHost {
public:
    RecordingContext &ctx;
    QMainWindow window;
    QMdiArea *area = new QMdiArea;
    QString panel6 = QStringLiteral("?");
    bool inputState = false;
    int refreshes = 0;

    explicit TestHost(RecordingContext &c) : ctx(c)
    {
        window.setCentralWidget(area);
        window.resize(1100, 800);
        ctx.widget = &window;
    }
    RunContext &context() override { return ctx; }
    QMdiArea *mdiArea() const override { return area; }
    void PANELDATENSATZ() override
    {
        ++refreshes;
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"), ctx.cnn);
        QStringList names;
        for (; !rs.isEOF(); rs.MoveNext())
            names << rs.Fields(0).text();
        panel6 = names.isEmpty() ? QStringLiteral("-") : names.join(QLatin1Char(','));
    }
    void setRecordPanel(const QString &text, const QString &) override { panel6 = text; }
    void enterInputState() override { inputState = true; }
    void leaveInputState() override { inputState = false; }
    QString menuCaption(const QString &name) const override { return QStringLiteral("&") + name; }
    QString panelCaption(int index) const override { return index == 8 ? QStringLiteral("OK") : QStringLiteral("Abbrechen"); }
};

// Presets: rigs with ids 1, 2 and 4, casings with a doubled id, no cutting tools, two
// conveying tools, three rocks, unit-cost sets one of which has no key.
inline const char *kPresets = R"(
INSERT INTO VANT_V11 (IDT, KENT) VALUES (1, 'T1'), (2, 'T2'), (4, 'T4');
INSERT INTO VANT_V12 (IDV, KENV) VALUES (1, 'V1'), (2, 'V2a'), (2, 'V2b');
INSERT INTO VANT_V14 (IDF, KENF) VALUES (0, 'F0'), (1, 'F1');
INSERT INTO VANT_V2 (IDG, KENG) VALUES (0, 'S'), (1, 'KI'), (2, 'U');
INSERT INTO VANT_V3 (IDK, KENK) VALUES (2, 'K2'), (1, 'K1'), (3, NULL);
)";

class InputTest : public ProjectTest<RecordingContext> {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        cnnV->Execute(QString::fromUtf8(kPresets));
        ctx.programpfad = QStringLiteral("/opt/korvane/VANT");
    }
    void exec(const QString &sql) { cnn->Execute(sql); }
};

} // namespace vnt::test
