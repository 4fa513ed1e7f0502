// A main window on a throw-away installation with the result header and multiple-evaluation
// tables, and a small stand-in result page that records what it prints.
#pragma once

#include "FrameFixture.h"
#include "frame/EvaluateCommands.h"
#include "pages/common/ResultPage.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

namespace vnt::test {

class StandInPage : public ResultPage {
public:
    // boxes: the figure boxes; the first has a scroll bar, the one named in hiddenBox is hidden.
    StandInPage(RunContext &ctx, QWidget *parent, const QString &name, QStringList *printed,
                QStringList boxes = {"picBILD11", "picBILD12"}, const QString &hiddenBox = {})
        : ResultPage(ctx, parent), printed_(printed)
    {
        setObjectName(name);
        // As every result page's load does.
        setWindowState(windowState() | Qt::WindowMaximized);
        for (int i = 0; i < boxes.size(); ++i) {
            PictureBox *b = addPictureBox(boxes[i], QRectF(10 + 60 * i, 30, 50, 40),
                                          i == 0 ? "vscBILD" + boxes[i].mid(7) : QString(), [] {});
            if (boxes[i] == hiddenBox)
                b->hide();
        }
    }

protected:
    QList<Figure> figures() override
    {
        return {Figure{"f", [this](int OBJ, float, float) {
                           if (OBJ == 1 && printed_)
                               printed_->append(objectName());
                       }, 0, 0}};
    }
    QString printErrorTitle() const override { return "Drucken"; }
    PageHeaderContent headerContent() const override { return {}; }

private:
    QStringList *printed_;
};

// A factory that makes the named pages, the first as the page loaded, the others as the
// hidden pages its load brings along.
inline PageFactory standInPages(QStringList names, QStringList *printed, int *calls = nullptr)
{
    return [=](RunContext &ctx, QWidget *parent) -> QWidget * {
        if (calls)
            ++*calls;
        QWidget *first = nullptr;
        for (const QString &n : names) {
            auto *p = new StandInPage(ctx, parent, n, printed);
            if (!first)
                first = p;
            else
                p->hide();   // as a first page's load leaves the pages it brings
        }
        return first;
    };
}

// Puts the program's factories and evaluation back when the test ends.
struct FactoryScope {
    PageFactory first, multiple;
    Evaluation evaluation;
    FactoryScope(PageFactory f, PageFactory m = {}, Evaluation e = {})
        : first(setFirstPageFactory(std::move(f))), multiple(setMultiplePageFactory(std::move(m))),
          evaluation(setEvaluation(std::move(e))) {}
    ~FactoryScope()
    {
        setFirstPageFactory(first);
        setMultiplePageFactory(multiple);
        setEvaluation(evaluation);
    }
};

// The names of the main window's child windows in loading order, and of the current one.
inline QStringList windowNames(const frmMAIN &frm)
{
    QStringList out;
    for (QMdiSubWindow *s : frm.mdiArea()->subWindowList(QMdiArea::CreationOrder))
        out << (s->widget() ? s->widget()->objectName() : s->objectName());
    return out;
}

inline QString currentWindowName(const frmMAIN &frm)
{
    QMdiSubWindow *s = frm.mdiArea()->currentSubWindow();
    return s && s->widget() ? s->widget()->objectName() : QString();
}

struct PageWindow {
    Installation inst;
    std::unique_ptr<frmMAIN> frm;

    explicit PageWindow(const QString &extraSql = {})
    {
        sql(inst.projectDb(), "CREATE TABLE A1 (ID INTEGER, BONEU BOOLEAN);"
                              "CREATE TABLE M1 (IDM INTEGER, KOM TEXT COLLATE NOCASE, VZ SMALLINT);" + extraSql);
        frm = std::make_unique<frmMAIN>();
        Boxes none;
        EXPECT_TRUE(frm->MDIForm_Load(inst.program));
    }
    QString db(const QString &query) const { return scalar(inst.working(), query); }
    QStringList windows() const { return windowNames(*frm); }
    QWidget *window(const QString &name) const
    {
        for (QMdiSubWindow *s : frm->mdiArea()->subWindowList())
            if (s->widget() && s->widget()->objectName() == name)
                return s;
        return nullptr;
    }
    QString current() const { return currentWindowName(*frm); }
};

} // namespace vnt::test
