// Serves result page 1 of one record (mdiSEITE1) only: a press on one of its figures opens it.
// The evaluation options of a record, changed from its first result page: the unit-cost set,
// the cost breakdown and the time breakdown, written back to the record's options row.
#pragma once

#include "platform/RunContext.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vnt {

class clsDATEN;

class frmKONTEXT1 : public QDialog {
    Q_OBJECT
public:
    // Loads the options of the active record and shows them.
    explicit frmKONTEXT1(RunContext &ctx, QWidget *parent = nullptr);
    ~frmKONTEXT1() override;

    // What a press on an options figure of the first record page does: the dialog, modal over
    // the main window, then the page's redraw, which re-reads the options whether or not
    // anything was stored.
    static void present(RunContext &ctx, const std::function<void()> &NEUZEICHNEN);

    QLabel *lblKENK = nullptr;
    QComboBox *cboKENK = nullptr;
    QGroupBox *fraZAUF = nullptr;
    QRadioButton *optZAUF[2] = {};
    QGroupBox *fraK = nullptr;
    QRadioButton *optK[4] = {};
    QGroupBox *fraSCHALTFLAECHEN = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdABBRECHEN = nullptr;

    // The options as chosen so far.
    QString KENK() const { return KENK_; }
    int16_t K() const { return K_; }
    int16_t ZAUF() const { return ZAUF_; }
    int16_t KENKPG() const { return KENKPG_; }

private:
    void Form_Load();
    void Form_Resize();
    void VORGABENANZEIGEN();
    void PERSONALKOSTENPRUEFEN();
    int16_t kenkpgOf(const QString &kenk);
    void cboKENK_Change();
    void cmdOK_Click();

    RunContext &ctx_;
    std::unique_ptr<clsDATEN> e6_, v3_;
    QString KENK_;
    int16_t K_ = 0, ZAUF_ = 0, KENKPG_ = 0;
    bool busy_ = false;
    bool keyChosen_ = false;   // the key field was changed by the user
};

} // namespace vnt
