// The about window: the maker's contact lines, the product lines and the credits.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vnt {

class RunContext;

class frmINFO : public QDialog {
    Q_OBJECT
public:
    explicit frmINFO(QWidget *parent = nullptr);

    // title, subtitle and release: the captions of the start window's labels.
    void Form_Load(const RunContext &ctx, const QString &title, const QString &subtitle, const QString &release);

    QLabel *lblADRESSE(int i) const { return lblADRESSE_[i]; }
    QLabel *lblINFO(int i) const { return lblINFO_[i]; }
    QPushButton *cmdSCHLIESSEN() const { return cmdSCHLIESSEN_; }

    // The credits of the program's version information, and its legal notice.
    static QString credits();
    static QString legalNotice();

private:
    QLabel *lblADRESSE_[8];
    QLabel *lblINFO_[8];
    QPushButton *cmdSCHLIESSEN_;
};

} // namespace vnt
