// Saving the working database back to the project and compacting it.
#include "frame/frmMAIN.h"

#include "frame/FrameRules.h"
#include "frame/frmMAIN_Shared.h"
#include "platform/Guard.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace vnt {

using namespace frmmain_shared;

// ---------------------------------------------------------------- save and compaction

bool frmMAIN::mnuSPEICHERN_Click()
{
    const QString cmdTitle = caption(QStringLiteral("mnuSPEICHERN"));
    Guard g(kErrorPrefix, cmdTitle);
    float size = 0;
    bool copied = false;
    g.step([&] { size = sizeInMegabytes(fsoX.FileSize(XMDBPFAD())); });
    if (!g.left() && size > 10) {
        const int answer = ui::MsgBox(
            sprache_ == 1 ? QStringLiteral("Database reaches ") + megabytesText(size, dezimalpunkt_) + QStringLiteral(" MB! \nDo you want to compact the file?")
                          : QStringLiteral("Datenbank hat ") + megabytesText(size, dezimalpunkt_) + QStringLiteral(" MB erreicht! \nSoll die Datei komprimiert werden?"),
            ui::vbYesNo | ui::vbQuestion, cmdTitle, programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".hlp"), 34);
        if (answer == ui::vbYes)
            mnuKOMPRIMIEREN_Click();
    }
    bool attempted = false;
    g.step([&] { sys::setHourglass(true); });
    g.step([&] {
        attempted = true;
        db::copyDatabase(XMDBPFAD(), projectDatabase());
        copied = true;
    });
    // Only a copy that arrived clears the flag: otherwise the end of the run would delete the
    // only copy of the changes.
    if (copied) {
        geaendert_ = false;
        copyBackFailed_ = false;
    } else if (attempted) {
        copyBackFailed_ = true;
    }
    g.always([&] { sys::setHourglass(false); });
    return copied;
}

void frmMAIN::mnuKOMPRIMIEREN_Click()
{
    const QString cmdTitle = caption(QStringLiteral("mnuKOMPRIMIEREN"));
    Guard g(kErrorPrefix, cmdTitle);
    sys::setHourglass(true);
    QString source, destination;
    float before = 0, after = 0;
    int64_t bytesBefore = 0, bytesAfter = 0;
    bool compacted = false, replaced = false;

    g.step([&] { source = XMDBPFAD(); destination = compactionFilePath(source); });
    g.step([&] { bytesBefore = fsoX.FileSize(source); before = sizeInMegabytes(bytesBefore); });
    g.step([&] { if (cnnX_) cnnX_->Close(); });
    // The compacted copy is written first; the working database is replaced only once the
    // copy is complete, so that a failure never leaves it missing.
    g.step([&] {
        if (fsoX.FileExists(destination))
            fsoX.DeleteFile(destination);
        db::ConnectionPtr c = db::openDatabase(source);
        try {
            c->Execute(QStringLiteral("VACUUM INTO ") + db::sqlText(destination));
        } catch (...) {
            c->Close();
            throw;
        }
        c->Close();
        compacted = true;
    });
    if (compacted)
        g.step([&] { db::replaceDatabase(destination, source); replaced = true; });
    if (!replaced && !destination.isEmpty() && fsoX.FileExists(destination)) {
        try { fsoX.DeleteFile(destination); } catch (const VbError &) {}
    }
    if (replaced) {
        g.step([&] { bytesAfter = fsoX.FileSize(source); after = sizeInMegabytes(bytesAfter); });
        g.step([&] {
            const float gain = compactionGain(before, after, bytesBefore, bytesAfter);
            ui::MsgBox(sprache_ == 1
                           ? QStringLiteral("Database was compact about ") + megabytesText(gain, dezimalpunkt_) + QStringLiteral(" % to ")
                                 + megabytesText(after, dezimalpunkt_) + QStringLiteral(" MB!")
                           : QStringLiteral("Datenbank wurde um ") + megabytesText(gain, dezimalpunkt_) + QStringLiteral(" % auf ")
                                 + megabytesText(after, dezimalpunkt_) + QStringLiteral(" MB komprimiert !"),
                       ui::vbOKOnly | ui::vbInformation, cmdTitle);
        });
    }
    // The same connection object opens again, so that column accessors holding it go on working.
    // It opens also after Cancel, and its failure has its box even then.
    try {
        const QString path = source.isEmpty() ? XMDBPFAD() : source;
        if (!cnnX_)
            cnnX_ = std::make_shared<db::Connection>();
        cnnX_->ConnectionTimeout = 30;
        cnnX_->Open(db::connectionStringFor(path));
    } catch (const VbError &e) {
        g.report(e.number, e.description);
    }
    g.always([&] { sys::setHourglass(false); });
    if (!cnnX_ || !cnnX_->isOpen())
        loseDatabase();
}

void frmMAIN::loseDatabase()
{
    // Every later command would fail on the closed connection: the run ends once the command
    // that compacted has returned (a Save still copies the working copy back), and the working
    // copy stays, so that the next start offers what it holds.
    databaseLost_ = true;
    QMetaObject::invokeMethod(this, [this] { endRun(1); }, Qt::QueuedConnection);
}

} // namespace vnt
