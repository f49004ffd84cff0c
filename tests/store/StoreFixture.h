#pragma once

#include "engine/Schema.h"
#include "lib/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace qpn::test {

// Records every message and answers from a script; an unscripted question is
// answered as if the box had been closed.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        DialogKind kind;
        QString text;
        QList<DialogButton> buttons;
    };

    explicit ScriptedDialogs(QList<DialogButton> answers = {}) : m_answers(std::move(answers)) {}

    DialogButton message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &caption) override;
    bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }

    const QList<Shown> &shown() const { return m_shown; }

private:
    QList<DialogButton> m_answers;
    QList<Shown> m_shown;
};

// A register folder of its own: the base folder and its data folder QPNdata.
class RegisterFolder
{
public:
    RegisterFolder();
    QString base() const { return m_dir.path(); }
    QString data() const { return m_dir.path() + QStringLiteral("/QPNdata"); }

private:
    QTemporaryDir m_dir;
};

// The ten tables of the data folder.
const QStringList &DataTableNames();

void ExecSql(const QString &folder, const QString &sql);
engine::TableSchema SchemaOf(const QString &folder, const QString &table);
// "name TYPE[(size)]" per column, in table order.
QStringList ColumnsOf(const QString &folder, const QString &table);
QStringList ColumnNamesOf(const QString &folder, const QString &table);
// One "v1|v2|..." line per row in primary-key order; null shows as "null",
// money as its units with a "u", dates as ISO text.
QStringList RowsOf(const QString &folder, const QString &table);
// Appends one row, values going to the named fields.
void AppendRow(const QString &folder, const QString &table, const QStringList &fields,
               const QVariantList &values);
// Schema, indexes and rows of every data table, for before/after comparisons.
QStringList Snapshot(const QString &folder);

// An older data-folder layout: the first columns of the asset tables, the
// masters without their later columns, and some rows in each.
struct Layout
{
    int daicyoAColumns = 55;
    int daicyoBColumns = 25;
    bool kamokuKubun = true;
    bool bumonKyoten = true;
    bool nendoIndex = true;
};
void CreateLayout(const QString &dataFolder, const Layout &layout);

} // namespace qpn::test
