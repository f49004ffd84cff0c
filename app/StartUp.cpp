#include "app/StartUp.h"

#include "app/Mylib.h"
#include "app/StartUpView.h"
#include "app/TDM.h"
#include "app/TPassChk.h"
#include "depreciation/RateTable.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "lib/DateFormat.h"
#include "lib/Dialogs.h"
#include "store/SchemaMaker.h"

#include <QDir>
#include <QFileInfo>

namespace qpn {

namespace {

// The platform's suffix of program files.
QString executableSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral(".exe");
#else
    return QString();
#endif
}

} // namespace

StartUp::StartUp(TDM &dm, SchemaMaker &schemaMaker, TPassChk &passChk, StartUpView &view)
    : m_dm(dm), m_schemaMaker(schemaMaker), m_passChk(passChk), m_view(view)
{
}

QString StartUp::UpdateDateCaption()
{
    return QStringLiteral("最新更新日2019年04月08日");
}

QString StartUp::ProgramFileName(const QString &productStamp)
{
    return productStamp + executableSuffix();
}

QString StartUp::DataFolderMessage()
{
    return QStringLiteral("データフォルダが作成できませんでしたので、終了します。");
}

QString StartUp::ProgramFileMessage(const QString &productStamp)
{
    return QStringLiteral("実行プログラムのファイル名が変更されているために実行できません。\r\nファイル名を　")
        + ProgramFileName(productStamp) + QStringLiteral(" に戻して実行してください。");
}

QString StartUp::EnvironmentMessage()
{
    return QStringLiteral("実行できる環境ではありませんので、終了します。");
}

QString StartUp::FiscalStartText(double fiscalStart)
{
    return FormatDateTime(QStringLiteral("yyyy\"年\"mm\"月\"dd\"日\""), fiscalStart);
}

StartUp::Outcome StartUp::end(const QString &message, int exitCode)
{
    if (!message.isEmpty())
        ShowMessage(message);
    m_exitCode = exitCode;
    return Outcome::Ended;
}

StartUp::Outcome StartUp::run()
{
    AppOptions().ProductStamp = QStringLiteral("QPN2");
    SetShortDatePattern(QStringLiteral("yyyy/mm/dd"));
    // The window is activated again whenever a form of the start-up closes;
    // those activations must not start a second run.
    if (!m_armed || m_running || m_ended)
        return Outcome::Skipped;
    m_running = true;
    Outcome outcome = Outcome::Ended;
    try {
        outcome = runSteps();
    } catch (const engine::EngineError &error) {
        // The sequence cannot resume without its tables: show the engine's
        // message and end.
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        m_exitCode = 1;
    }
    m_running = false;
    m_ended = outcome == Outcome::Ended;
    return outcome;
}

StartUp::Outcome StartUp::runSteps()
{
    AppOptionsData &options = AppOptions();
    if (!OpenDataFolder())
        return end(DataFolderMessage(), 1);

    m_view.showUpdateDate(UpdateDateCaption());

    const QString programFile = ProgramFileName(options.ProductStamp);
    if (!QFileInfo(QDir::current().filePath(programFile)).isFile())
        return end(ProgramFileMessage(options.ProductStamp), 1);

    engine::Table header;
    header.setDatabaseName(options.BaseFolder);
    header.setTableName(QStringLiteral("HeadM"));
    if (!header.exists())
        return end(EnvironmentMessage(), 1);

    if (!m_passChk.CheckPassword(m_view.window()))
        return end(QString(), 0);

    m_view.showCorporationName(options.CorporationName);
    m_armed = false;
    LoadRateTable();
    m_view.showFiscalStart(FiscalStartText(options.FiscalStart));
    if (m_updateCheck && m_updateCheck(programFile))
        m_view.showUpdateNotice();
    return Outcome::Done;
}

bool StartUp::OpenDataFolder()
{
    AppOptionsData &options = AppOptions();
    options.DataFolder =
        QDir::toNativeSeparators(QDir(options.BaseFolder).filePath(QStringLiteral("QPNdata"))) + QDir::separator();
    m_dm.dataDatabase().setFolder(options.DataFolder);

    // Every missing folder along the path; a folder that is still missing
    // afterwards ends the program, whatever else was created on the way.
    if (!QFileInfo(options.DataFolder).isDir()) {
        ForceFolder(options.DataFolder);
        if (!QFileInfo(options.DataFolder).isDir())
            return false;
    }

    m_schemaMaker.MakeHeadM(options.BaseFolder);
    m_schemaMaker.MakeTBL(options.DataFolder);

    engine::Table &head = *m_dm.HeadM;
    m_dm.baseDatabase().setFolder(options.BaseFolder);
    head.open();
    head.first();
    options.CorporationName = head.fieldByName(QStringLiteral("meisyou")).asString();
    options.FiscalEnd = head.fieldByName(QStringLiteral("KimatuDate")).asDateTime();
    options.setFiscalStart(head.fieldByName(QStringLiteral("KisyuDate")).asDateTime());
    head.close();
    return true;
}

} // namespace qpn
