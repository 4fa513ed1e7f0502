// A new user's first path: a fresh demo installation made by the demo command, one record chosen
// in the selection dialog, its stored results shown with Berechnen. Both result pages must look
// as they do after Neuberechnen: every figure with its frame and axes, nothing outside its box.
#include "test_pagecmds_support.h"

#include "../record/LookSupport.h"
#include "common/Shots.h"
#include "frame/PageCommands.h"
#include "frame/frmAUSWAHL.h"
#include "pages/common/PrintJob.h"
#include "pages/record/mdiSEITE1.h"
#include "pages/record/mdiSEITE2.h"

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>
#include <QProcess>

using namespace vnt;
using namespace vnt::test;

namespace {

// What the demo command lays out, with the program's start-up pointed at it; the frame
// program and the desktop's opener only recorded.
struct DemoInstallation {
    QTemporaryDir tmp;
    QString root = tmp.path() + QStringLiteral("/inst");
    QString previousSettings = registry::settingsFile();
    QString output;
    int exitCode = -1;

    DemoInstallation()
    {
        const QString settings = tmp.path() + QStringLiteral("/settings.ini");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VANTREL_SETTINGS"), settings);
        p.setProcessEnvironment(env);
        p.start(QString::fromLocal8Bit(qgetenv("VANTREL_BUILD_DIR")) + QStringLiteral("/bin/vantrel-demo"),
                {QStringLiteral("--root"), root});
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            exitCode = p.exitCode();
        output = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        registry::setSettingsFile(settings);
        shell::setStarter([](const QString &) { return true; });
        shell::setOpener([](const QString &) { return true; });
    }
    ~DemoInstallation() { registry::setSettingsFile(previousSettings); }
};

template <class Page>
Page *loadedPage(frmMAIN &frm)
{
    for (QMdiSubWindow *s : frm.mdiArea()->subWindowList())
        if (auto *p = qobject_cast<Page *>(s->widget()))
            return p;
    return nullptr;
}

// The record ids and names of the project, in the order the selection dialog lists them.
std::vector<std::pair<int32_t, QString>> recordsOf(frmMAIN &frm)
{
    std::vector<std::pair<int32_t, QString>> out;
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT [E1].[ID],[KEN] FROM [E1] INNER JOIN [A1] ON [E1].[ID]=[A1].[ID] "
                           "WHERE [E1].[ID]>0 ORDER BY [KEN]"),
            frm.cnnX());
    for (; !rs.isEOF(); rs.MoveNext())
        out.emplace_back(rs.Fields(QStringLiteral("ID")).toLong(), rs.Fields(QStringLiteral("KEN")).text());
    return out;
}

// Makes the record the only active one through Datei > Auswahl.
void selectOnly(frmMAIN &frm, int32_t id)
{
    Boxes boxes;
    boxes.modal([id](QDialog &d) {
        auto &a = dynamic_cast<frmAUSWAHL &>(d);
        a.lstKEN->clearSelection();
        for (size_t i = 0; i < a.ids().size(); ++i)
            if (a.ids()[i] == id)
                a.lstKEN->item(int(i))->setSelected(true);
        a.cmdOK_Click();
        return int(QDialog::Accepted);
    });
    frm.menuItem(QStringLiteral("mnuAUSWAHL"))->trigger();
}

// How many figure frames of the record lack a value their figure draws by: the margins,
// directions and limits.
int framesWithoutValues(frmMAIN &frm, int32_t id)
{
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) FROM [G0] WHERE [ID]=%1 AND [IDOBJEKT] BETWEEN 11 AND 17 AND "
                           "[OX] IS NOT NULL AND [OY] IS NOT NULL AND [RL] IS NOT NULL AND [RR] IS NOT NULL AND "
                           "[RO] IS NOT NULL AND [RU] IS NOT NULL AND [XMIN] IS NOT NULL AND [XMAX] IS NOT NULL AND "
                           "[YMIN] IS NOT NULL AND [YMAX] IS NOT NULL")
                .arg(id),
            frm.cnnX());
    return 7 - int(rs.Fields(0).toDouble());
}

template <class Page>
void expectInsideTheirBoxes(Page &page, const QStringList &boxes, void (Page::*const *draw)(int, float, float))
{
    QList<std::pair<QString, QPointF>> figures;
    for (const QString &b : boxes)
        figures.append({b, QPointF(0, 0)});
    expectFiguresInsideTheirBoxes(page, figures,
                                  [&](const QString &box, int OBJ) { (page.*draw[boxes.indexOf(box)])(OBJ, 0, 0); });
}

} // namespace

TEST(FirstLook, EveryDemoRecordDrawsRightOnItsFirstBerechnen)
{
    DemoInstallation inst;
    ASSERT_EQ(inst.exitCode, 0) << inst.output.toStdString();
    frmMAIN frm;
    frm.resize(1400, 1000);
    {
        Boxes none;
        ASSERT_TRUE(frm.MDIForm_Load(inst.root + QStringLiteral("/VANT")));
    }
    const auto records = recordsOf(frm);
    ASSERT_GE(records.size(), 4u);
    for (const auto &[id, name] : records) {
        SCOPED_TRACE(name.toStdString());
        selectOnly(frm, id);
        Boxes none;
        frm.mnuAUSWERTEN_Click();
        ASSERT_TRUE(frm.menuItem(QStringLiteral("mnuBERECHNEN"))->isEnabled());
        frm.menuItem(QStringLiteral("mnuBERECHNEN"))->trigger();
        mdiSEITE1 *page1 = loadedPage<mdiSEITE1>(frm);
        mdiSEITE2 *page2 = loadedPage<mdiSEITE2>(frm);
        ASSERT_TRUE(page1 && page2);

        EXPECT_EQ(framesWithoutValues(frm, id), 0);
        static void (mdiSEITE1::*const bilder1[])(int, float, float) = {
            &mdiSEITE1::BILD11, &mdiSEITE1::BILD12, &mdiSEITE1::BILD13,
            &mdiSEITE1::BILD14, &mdiSEITE1::BILD15, &mdiSEITE1::BILD16};
        expectInsideTheirBoxes(*page1, {"picBILD11", "picBILD12", "picBILD13", "picBILD14", "picBILD15", "picBILD16"},
                               bilder1);
        static void (mdiSEITE2::*const bilder2[])(int, float, float) = {
            &mdiSEITE2::BILD11, &mdiSEITE2::BILD12, &mdiSEITE2::BILD13,
            &mdiSEITE2::BILD14, &mdiSEITE2::BILD2, &mdiSEITE2::BILD3};
        expectInsideTheirBoxes(*page2, {"picBILD11", "picBILD12", "picBILD13", "picBILD14", "picBILD2", "picBILD3"},
                               bilder2);

        // Printed, every axis of the page keeps its title: none has fallen out of its box.
        auto sheet = std::make_shared<RecordingSurface>();
        sheet->setPrinter(true);
        {
            PrintJob job(sheet);
            page1->DRUCKEN(job);
        }
        const QStringList texts = sheet->texts();
        EXPECT_EQ(texts.count(QStringLiteral("z [m]")), 5);
        for (const char *title : {"t [h]", "v [m/h]", "Personen [-]", "Legende", "Einheitskosten"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(title))) << title;

        QCoreApplication::processEvents();   // a page drawn again at its new size
        keepShot(shotOf(*page1), QStringLiteral("first-look-%1-seite1").arg(name));
        activatePage(frm.mdiArea(), qobject_cast<QMdiSubWindow *>(page2->parentWidget()));
        QCoreApplication::processEvents();
        keepShot(shotOf(*page2), QStringLiteral("first-look-%1-seite2").arg(name));

        frm.stbMAIN_PanelClick(15);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
