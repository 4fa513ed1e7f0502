// What lower subsystems read of the running program: the context of the main window.
// The main window implements it; a test builds a SimpleRunContext in a line.
#pragma once

#include "db/Database.h"
#include <QMap>
#include <QString>
#include <QStringList>

class QWidget;

namespace vnt {

class RunContext {
public:
    virtual ~RunContext() = default;

    virtual int SPRACHE() const = 0;          // 1 English, 3 German
    virtual QString DEZIMALPUNKT() const = 0;
    virtual QString BENUTZER() const = 0;
    virtual QString PROJEKT() const = 0;
    virtual QString PROJEKTSPFAD() const = 0;
    virtual QString BEARBEITER() const = 0;
    virtual QString DATENBANKPFAD() const = 0;
    virtual QString XMDBPFAD() const = 0;
    virtual db::ConnectionPtr cnnX() const = 0;     // working copy of the project database
    virtual db::ConnectionPtr cnnX_V() const = 0;   // preset database; null in development mode
    virtual QString programPath() const = 0;        // folder of the executable

    // Development mode: the program folder's path contains "SOURCE" in any letter case.
    bool developmentMode() const { return programPath().contains(QLatin1String("SOURCE"), Qt::CaseInsensitive); }

    // The main window's services that windows of lower subsystems call.
    virtual void stbMAIN_PanelClick(int /*panel*/) {}
    virtual void setProgress(int /*value*/) {}        // the start window's pgbBERECHNEN
    virtual int progress() const { return 0; }
    virtual QString Tag() const { return {}; }        // the main window's dialog result tag
    virtual void setTag(const QString &) {}
    virtual void setGEAENDERT(bool) {}
    virtual QWidget *mainWidget() const { return nullptr; }  // parent for child windows and dialogs
    virtual void mnuBEENDEN_Click() {}                // the quit command, for windows' own keys
    // The quit's question (save the changes?), asked now by a window that must stay on the
    // stack until the quit follows. True when the user goes on: the quit command that follows
    // asks no more. False keeps the run and the window as they are.
    virtual bool quitConfirmed() { return true; }
    virtual void mnuHILFE_Click() {}                  // the help command (F1)
    virtual void setPanelVisible(int /*panel*/, bool /*visible*/) {}  // a status panel, 1..15
    // True while the run ends and the main window closes its child windows.
    virtual bool unloading() const { return false; }
};

// A context whose fields are set directly: tests and tools.
class SimpleRunContext : public RunContext {
public:
    int sprache = 3;
    QString dezimalpunkt = QStringLiteral(",");
    QString benutzer, projekt, projektspfad, bearbeiter, datenbankpfad, xmdbpfad, programpfad;
    db::ConnectionPtr cnn, cnnV;
    QString tag;
    int progressValue = 0;
    bool geaendert = false;
    QList<int> panelClicks;
    QMap<int, bool> panelVisible;
    QWidget *widget = nullptr;

    int SPRACHE() const override { return sprache; }
    QString DEZIMALPUNKT() const override { return dezimalpunkt; }
    QString BENUTZER() const override { return benutzer; }
    QString PROJEKT() const override { return projekt; }
    QString PROJEKTSPFAD() const override { return projektspfad; }
    QString BEARBEITER() const override { return bearbeiter; }
    QString DATENBANKPFAD() const override { return datenbankpfad; }
    QString XMDBPFAD() const override { return xmdbpfad; }
    db::ConnectionPtr cnnX() const override { return cnn; }
    db::ConnectionPtr cnnX_V() const override { return cnnV; }
    QString programPath() const override { return programpfad; }
    void stbMAIN_PanelClick(int panel) override { panelClicks.append(panel); }
    void setPanelVisible(int panel, bool visible) override { panelVisible[panel] = visible; }
    void setProgress(int v) override { progressValue = v; }
    int progress() const override { return progressValue; }
    QString Tag() const override { return tag; }
    void setTag(const QString &t) override { tag = t; }
    void setGEAENDERT(bool b) override { geaendert = b; }
    QWidget *mainWidget() const override { return widget; }
};

} // namespace vnt
