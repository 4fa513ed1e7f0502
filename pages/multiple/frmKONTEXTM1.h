// Serves page 1 of the multiple evaluation (mdiMSEITE1) only: a press on one of its figures opens it.
// The gross/net choice of the multiple evaluation, opened by a press on a figure of its first
// page: "Bruttowerte" or "Nettowerte", stored in M1 on OK.
#pragma once

#include "platform/RunContext.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace vnt {

class clsDATEN;

class frmKONTEXTM1 : public QDialog {
    Q_OBJECT
public:
    // Reads the stored choice and selects it.
    explicit frmKONTEXTM1(RunContext &ctx, QWidget *parent = nullptr);
    ~frmKONTEXTM1() override;

    // What a press on a figure does: the dialog, modal over the main window, then the page's
    // redraw, which reads the choice again however the dialog was closed.
    static void present(RunContext &ctx, const std::function<void()> &NEUZEICHNEN);

    QGroupBox *fra = nullptr;
    QRadioButton *optVZ[2] = {};
    QGroupBox *fraSCHALTFLAECHEN = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdABBRECHEN = nullptr;

    int16_t VZ() const { return VZ_; }

private:
    void Form_Load();
    void Form_Resize();
    void cmdOK_Click();

    RunContext &ctx_;
    std::unique_ptr<clsDATEN> m1_;
    int16_t VZ_ = 0;
};

} // namespace vnt
