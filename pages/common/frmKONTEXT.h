// Serves every result page, single and multiple: a click on the page beside its figures opens it.
// The page-layout dialog of every result page: header/footer and page numbers on or off, the
// page's colour and its picture boxes' colour, handed to the KONTEXT of the page that opened
// it on OK. It is modal: the page it shows cannot be paged away or closed under it.
#pragma once

#include "platform/RunContext.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace vnt {

class ResultPage;

class frmKONTEXT : public QDialog {
    Q_OBJECT
public:
    // opener: the page that asked for the dialog; OK hands the settings to it. The dialog is
    // modal, so nothing else happens to the pages while it is open.
    frmKONTEXT(RunContext &ctx, ResultPage *opener, QWidget *parent = nullptr);

    // Opens the dialog for a page with the page's switches and colours and waits for it.
    static void present(RunContext &ctx, ResultPage &page, bool BOKF, bool BOKFS, qint64 pageColor,
                        qint64 pictureColor);

    QGroupBox *fraSKALEN = nullptr;
    QCheckBox *chkBOKF = nullptr;
    QCheckBox *chkBOKFS = nullptr;
    QPushButton *cmdFARBEN[2] = {nullptr, nullptr};
    QGroupBox *fraSCHALTFLAECHEN = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdABBRECHEN = nullptr;

    // The starting state a page hands over: "1" on, "0" off.
    void setTags(const QString &tagBOKF, const QString &tagBOKFS);
    // The colour held by colour chooser i (0 page, 1 picture boxes), as a Long colour.
    qint64 cdlFARBEN(int i) const { return farben_[i & 1]; }
    void setCdlFARBEN(int i, qint64 color) { farben_[i & 1] = color; }

    // KeyCode as the window system numbers keys; Shift carries 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyDown(int KeyCode, int Shift);
    // Check boxes from the tags the page handed over.
    void SCHALTERANZEIGEN();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void chkBOKF_Click();
    void cmdFARBEN_Click(int index);
    void cmdOK_Click();
    void cmdABBRECHEN_Click();
    void UEBERNEHMEN();
    void Form_Resize();

    RunContext &ctx_;
    QPointer<ResultPage> opener_;
    QString tagBOKF_ = QStringLiteral("1"), tagBOKFS_ = QStringLiteral("1");
    qint64 farben_[2] = {0xFFFFFF, 0xFFFFFF};
};

} // namespace vnt
