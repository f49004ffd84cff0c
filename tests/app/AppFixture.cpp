#include "tests/app/AppFixture.h"

#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "platform/ScriptedDialogs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace qpn::test {

WorkingFolder::WorkingFolder() : m_previous(QDir::currentPath())
{
    AppOptions() = AppOptionsData{};
    QDir::setCurrent(m_dir.path());
}

WorkingFolder::~WorkingFolder()
{
    QDir::setCurrent(m_previous);
    AppOptions() = AppOptionsData{};
}

void WorkingFolder::addProgramFile() const
{
    QFile file(filePath(StartUp::ProgramFileName(QStringLiteral("QPN2"))));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x7f" "ELF");
}

ProgramRig::ProgramRig() = default;
ProgramRig::~ProgramRig() = default;

void MakeRegister(const QString &base, const std::map<QString, QVariant> &header)
{
    ScriptedDialogs dialogs;
    dialogs.answer(DialogButton::Yes);
    SchemaMaker maker;
    const QString dataFolder = QDir(base).filePath(QStringLiteral("QPNdata"));
    QDir().mkpath(dataFolder);
    maker.MakeHeadM(base);
    maker.MakeTBL(dataFolder);

    engine::Table head;
    head.setDatabaseName(base);
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    if (head.isEmpty())
        head.append();
    else
        head.edit();
    for (const auto &[column, value] : header)
        head.fieldByName(column).setValue(value);
    head.post();
    head.close();
}

QVariant HeaderValue(const QString &base, const QString &column)
{
    engine::Table head;
    head.setDatabaseName(base);
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    head.first();
    const QVariant value = head.isEmpty() ? QVariant() : head.fieldByName(column).value();
    head.close();
    return value;
}

int RowCount(const QString &folder, const QString &table)
{
    engine::Table t;
    t.setDatabaseName(folder);
    t.setTableName(table);
    t.open();
    const int count = t.recordCount();
    t.close();
    return count;
}

} // namespace qpn::test
