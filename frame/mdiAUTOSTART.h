// The start window: the maker's heading, the program's title and release, a picture, and the
// progress bar through which long commands report. It stays behind every other child window
// for the whole run.
#pragma once

#include "FrameRules.h"
#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QProgressBar;

namespace vnt {

class RunContext;
class clsADRESSE;

class mdiAUTOSTART : public QWidget {
    Q_OBJECT
public:
    explicit mdiAUTOSTART(QWidget *parent = nullptr);
    ~mdiAUTOSTART() override;

    // Fills and arranges the window for a client area of W x H twips, once: the window
    // keeps this arrangement when the main window changes its size later.
    void Form_Load(const RunContext &ctx, float W, float H);

    QLabel *lblKOPF(int i) const { return lblKOPF_[i]; }
    QLabel *lblTITEL() const { return lblTITEL_; }
    QLabel *lblUNTERTITEL() const { return lblUNTERTITEL_; }
    QLabel *lblVERSION() const { return lblVERSION_; }
    QProgressBar *pgbBERECHNEN() const { return pgbBERECHNEN_; }
    QFrame *fraKOPF() const { return fraKOPF_; }
    QLabel *imgLOGO() const { return imgLOGO_; }
    QLabel *imgDIA() const { return imgDIA_; }
    const AutostartLayout &layoutTwips() const { return layout_; }

private:
    QFrame *fraKOPF_;
    QLabel *lblKOPF_[4];
    QLabel *imgLOGO_, *lblTITEL_, *lblUNTERTITEL_, *lblVERSION_, *imgDIA_;
    QProgressBar *pgbBERECHNEN_;
    std::unique_ptr<clsADRESSE> adresse_;
    AutostartLayout layout_;
};

} // namespace vnt
