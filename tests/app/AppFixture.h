#pragma once

#include "app/StartUp.h"
#include "app/TDM.h"
#include "app/TMain.h"
#include "app/TPassChk.h"
#include "store/SchemaMaker.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>

namespace qpn::test {

// A fresh register folder that is the working folder while the object lives
// (the program takes its base folder from there), with AppOptions reset.
class WorkingFolder
{
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    void addProgramFile() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The program's long-lived objects as the entry creates them, on the
// current working folder.
struct ProgramRig
{
    ProgramRig();
    ~ProgramRig();

    TMain main;
    TDM dm;
    SchemaMaker schemaMaker;
    TPassChk passChk{dm};
    StartUp startUp{dm, schemaMaker, passChk, main};
};

// Creates every table of a register in base (the social-welfare accounts)
// and gives the header row the values named (column → value).
void MakeRegister(const QString &base, const std::map<QString, QVariant> &header = {});
// The header row's value of a column, null when there is no row.
QVariant HeaderValue(const QString &base, const QString &column);
int RowCount(const QString &folder, const QString &table);

} // namespace qpn::test
