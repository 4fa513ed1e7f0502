// The page chooser: shows the number of loaded result pages, takes a page number, and brings
// that page to the front maximised while hiding every other result page. It does not block
// the main window and closes itself after OK or Abbrechen.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;

namespace vnt {

class frmANZEIGEN : public QDialog {
    Q_OBJECT
public:
    frmANZEIGEN(QMdiArea *area, QWidget *owner);

    // Takes the page list and the current page; pages loaded later are not in it.
    void Form_Load();
    void Form_Activate();
    // The entry becomes a page number between 1 and the page count.
    void txtSEITE_LostFocus();
    void cmdOK_Click();
    void cmdABBRECHEN_Click();

    QLabel *lblSEITEN(int index) const { return lblSEITEN_[index ? 1 : 0]; }
    QLineEdit *txtSEITE() const { return txtSEITE_; }
    QPushButton *cmdOK() const { return cmdOK_; }
    QPushButton *cmdABBRECHEN() const { return cmdABBRECHEN_; }
    int pageCount() const { return int(pages_.size()); }

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QMdiArea *area_;
    QList<QPointer<QWidget>> pages_;
    QLabel *lblSEITEN_[2];
    QLabel *lblSEITE_;
    QLineEdit *txtSEITE_;
    QPushButton *cmdOK_, *cmdABBRECHEN_;
};

} // namespace vnt
