// The record selection dialog: lists the records by name, preselects the active ones and on OK
// writes the selection back into their active marks. The caller's mode in the main window's
// tag ("A" select, "O" open, "L" delete) sets the caption and the rules of a click.
#pragma once

#include "platform/RunContext.h"

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <vector>

class QListWidget;
class QPushButton;

namespace vnt {

class frmAUSWAHL : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog: captions by language and mode, the list from E1.
    explicit frmAUSWAHL(RunContext &ctx, QWidget *parent = nullptr);

    QListWidget *lstKEN = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdABBRECHEN = nullptr;

    void lstKEN_Click();
    void cmdOK_Click();
    void cmdABBRECHEN_Click();

    // The record id behind each list entry, in list order.
    const std::vector<int32_t> &ids() const { return ids_; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent *e) override;

private:
    void Form_Load();

    RunContext &ctx_;
    QString mode_;
    bool BOLADEN = false;
    bool applyingRule_ = false;
    bool closing_ = false;   // closed by the window frame: the tag keeps the mode letter
    QStringList KOMLISTE;
    std::vector<int32_t> ids_;
};

} // namespace vnt
