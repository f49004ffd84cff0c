#pragma once

#include <QString>

#include <functional>

namespace qpn {

class SchemaMaker;
class StartUpView;
class TDM;
class TPassChk;

// The one-time start-up run on the first activation of the main window: data
// folder, tables, header values, program-file check, password and corporation
// name, options, rate table, fiscal start, update check. Needs no widget of
// its own; the forms it shows go through the modal seam.
class StartUp
{
public:
    enum class Outcome {
        Done,      // the main menu is ready
        Skipped,   // ran before, or is running now: nothing repeated
        Ended,     // the program ends (exitCode() tells how)
    };

    StartUp(TDM &dm, SchemaMaker &schemaMaker, TPassChk &passChk, StartUpView &view);

    // The start-up marker: armed at creation, disarmed once the user is in.
    bool armed() const { return m_armed; }

    Outcome run();
    int exitCode() const { return m_exitCode; }

    // The update check: given the program file name, yes when a newer one is
    // published. None set means no check.
    void setUpdateCheck(std::function<bool(const QString &programFile)> check) { m_updateCheck = std::move(check); }

    static QString UpdateDateCaption();           // "最新更新日2019年04月08日"
    static QString ProgramFileName(const QString &productStamp);
    static QString DataFolderMessage();
    static QString ProgramFileMessage(const QString &productStamp);
    static QString EnvironmentMessage();
    static QString FiscalStartText(double fiscalStart);

private:
    Outcome runSteps();
    bool OpenDataFolder();
    Outcome end(const QString &message, int exitCode);

    TDM &m_dm;
    SchemaMaker &m_schemaMaker;
    TPassChk &m_passChk;
    StartUpView &m_view;
    std::function<bool(const QString &)> m_updateCheck;
    bool m_armed = true;
    bool m_running = false;
    bool m_ended = false; // once the program is ending, later activations do nothing
    int m_exitCode = 0;
};

} // namespace qpn
