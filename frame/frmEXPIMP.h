// The export and import dialog: copies whole drilling records, with their rows in every record,
// result and figure table, between the open project and another project's database, each
// copied record taking the next free record id of its target.
#pragma once

#include "platform/RunContext.h"
#include "platform/db/Database.h"
#include "platform/fso.h"

#include <QDialog>
#include <QStringList>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace vnt {

class Guard;

class frmEXPIMP : public QDialog {
    Q_OBJECT
public:
    explicit frmEXPIMP(RunContext &ctx, QWidget *parent = nullptr);
    ~frmEXPIMP() override;

    // The folder chooser moved to another folder: opens the project database found there.
    void dirEXP_Change(const QString &folder);
    // Asks for a folder and moves the chooser there.
    void cmdORDNER_Click();
    // Takes the folder typed into the path field (Enter, or leaving the field changed).
    void dirEXP_Validate();
    void cmdEXP_Click();
    void cmdIMP_Click();
    void cmdSCHLIESSEN_Click();

    // Fills a record list from E1 of an open connection.
    void LISTEFUELLEN(const db::ConnectionPtr &cnn, QListWidget *list);
    // Copies the selected records of the source list into the target database; false when it
    // stopped because the target's record ids leave no new id to give.
    bool KOPIEREN(const db::ConnectionPtr &source, QListWidget *list, const db::ConnectionPtr &target);

    QGroupBox *fraEXP() const { return fraEXP_; }
    QGroupBox *fraIMP() const { return fraIMP_; }
    QLineEdit *dirEXP() const { return dirEXP_; }
    QListWidget *lstEXP() const { return lstEXP_; }
    QListWidget *lstIMP() const { return lstIMP_; }
    QPushButton *cmdEXP() const { return cmdEXP_; }
    QPushButton *cmdIMP() const { return cmdIMP_; }
    QPushButton *cmdSCHLIESSEN() const { return cmdSCHLIESSEN_; }
    // The external project's database while one is open, else "".
    QString externalDatabase() const;
    bool imported() const { return imported_; }

    void done(int r) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void Form_Load();
    QString text(const char *german, const char *english) const;
    QString databaseFile() const;   // the file name every project database has
    bool isOpenProject(const QString &database) const;
    QString notAProject(const db::ConnectionPtr &other, const QString &database) const;
    // The steps of KOPIEREN. giveRecordId is false after the box that no new id can be given.
    bool giveRecordId(const QString &name, const db::ConnectionPtr &target, int32_t &newId);
    void copyRecord(Guard &g, const db::ConnectionPtr &source, int32_t sourceId, const db::ConnectionPtr &target,
                    int32_t newId);
    void copyTable(Guard &g, const QString &table, const db::ConnectionPtr &source, int32_t sourceId,
                   const db::ConnectionPtr &target, int32_t newId);

    RunContext &ctx_;
    FileSystemObject fso_;
    db::ConnectionPtr external_;
    // The copy order of a record's tables.
    const QStringList tables_ = {QStringLiteral("E1"), QStringLiteral("E2"), QStringLiteral("E3"), QStringLiteral("E4"),
                                 QStringLiteral("E5"), QStringLiteral("E6"), QStringLiteral("A1"), QStringLiteral("A2"),
                                 QStringLiteral("G0"), QStringLiteral("G1"), QStringLiteral("G2_1"), QStringLiteral("G2_2"),
                                 QStringLiteral("G3")};
    bool imported_ = false;
    int sprache_ = 3;

    QGroupBox *fraEXP_ = nullptr, *fraIMP_ = nullptr;
    QLineEdit *dirEXP_ = nullptr;
    QToolButton *cmdORDNER_ = nullptr;
    QListWidget *lstEXP_ = nullptr, *lstIMP_ = nullptr;
    QPushButton *cmdEXP_ = nullptr, *cmdIMP_ = nullptr, *cmdSCHLIESSEN_ = nullptr;
};

} // namespace vnt
