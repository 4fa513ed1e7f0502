// The record commands of the main window: New, Open, Select and Delete of the File menu, and
// the command panels 8 (save the input record) and 9 (discard it). The main window hands
// them what they need through RecordHost, so that they run without a main window in tests.
#pragma once

#include "platform/RunContext.h"

#include <QString>

class QMdiArea;

namespace vnt {

class mdiEINGABE;

class RecordHost {
public:
    virtual ~RecordHost() = default;
    virtual RunContext &context() = 0;
    virtual QMdiArea *mdiArea() const = 0;
    virtual void PANELDATENSATZ() = 0;                       // panel 6 from the active records
    virtual void setRecordPanel(const QString &text, const QString &tip) = 0;
    virtual void enterInputState() = 0;                      // panels 8, 9 shown; menus disabled
    virtual void leaveInputState() = 0;
    virtual QString menuCaption(const QString &name) const = 0;   // as it reads now, with "&"
    virtual QString panelCaption(int index) const = 0;
};

// The open input window of the area, nullptr when there is none.
mdiEINGABE *inputWindow(QMdiArea *area);
// Shows the input window, loading it when none is open.
mdiEINGABE *showInputWindow(RecordHost &host);

void mnuNEU_Click(RecordHost &host);
void mnuOEFFNEN_Click(RecordHost &host);
void mnuAUSWAHL_Click(RecordHost &host);
void mnuLOESCHEN_Click(RecordHost &host);

// Panel 8: saves the input record, asking before it overwrites a record of the same name.
// The deletion of the old row, the save and the clearing of the other active marks are one
// transaction. True when the record was saved and the input window closed.
bool panelOK(RecordHost &host);
// Panel 9: discards the input window.
void panelAbbrechen(RecordHost &host);

// The tables that hold rows by record id; deleting a record empties all of them.
QStringList recordTables();

} // namespace vnt
