// The main window's commands that open the export and import dialog (File menu) and the
// preset editor (Tools menu), each modally, and mark the project as changed by what they did.
#pragma once

namespace vnt {

class frmMAIN;

void mnuEXPIMP_Click(frmMAIN &main);
void mnuVVORGABEN_Click(frmMAIN &main);

} // namespace vnt
