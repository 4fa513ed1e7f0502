// The "Datenfehler" boxes of the column accessor: German whatever the language code.
#pragma once

#include "platform/ui.h"

namespace vnt {

inline void dataError(const QString &text)
{
    ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Datenfehler"));
}

// True when the user chose to go on.
inline bool dataErrorGoOn(const QString &text)
{
    return ui::MsgBox(text, ui::vbOKCancel | ui::vbExclamation, QStringLiteral("Datenfehler")) == ui::vbOK;
}

} // namespace vnt
