#include "app/TDM.h"

#include "app/Mylib.h"
#include "app/PeriodCaptions.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"

#include <QDir>
#include <QFileInfo>

namespace qpn {

namespace {

const QString SessionName = QStringLiteral("BBB");
const QString DataDatabaseName = QStringLiteral("AAA");
const QString BaseDatabaseName = QStringLiteral("WWW");

TDM *g_instance = nullptr;

} // namespace

TDM::TDM(QObject *parent)
    : QObject(parent),
      m_session(std::make_unique<engine::Session>(SessionName)),
      m_kisyuFormat(InitialPeriodFormat()),
      m_kimatuFormat(InitialPeriodFormat())
{
    setObjectName(QStringLiteral("DM"));
    m_session->setLockRetryCount(15);
    m_session->setLockWaitMs(100);
    m_dataDatabase = std::make_unique<engine::Database>(*m_session, DataDatabaseName);
    m_baseDatabase = std::make_unique<engine::Database>(*m_session, BaseDatabaseName);

    HeadM = makeTable(QStringLiteral("HeadM"), QStringLiteral("HeadM"), BaseDatabaseName);
    kamokuTB = makeTable(QStringLiteral("kamokuTB"), QStringLiteral("kamoku"), DataDatabaseName);
    BumonTB = makeTable(QStringLiteral("BumonTB"), QStringLiteral("Bumon"), DataDatabaseName);
    UkeireTB = makeTable(QStringLiteral("UkeireTB"), QStringLiteral("Ukeire"), DataDatabaseName);
    RegistTB = makeTable(QStringLiteral("RegistTB"), QStringLiteral("Regist"), DataDatabaseName);
    // The fields are made afresh each time the table opens; the period
    // formats must survive that.
    connect(HeadM, &engine::Dataset::stateChanged, this, &TDM::applyDateFormats);

    DataModuleCreate();
    g_instance = this;
}

TDM::~TDM()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TDM *TDM::instance()
{
    return g_instance;
}

engine::Table *TDM::makeTable(const QString &objectName, const QString &tableName, const QString &database)
{
    auto *table = m_tables.emplace_back(std::make_unique<engine::Table>()).get();
    table->setObjectName(objectName);
    table->setSessionName(SessionName);
    table->setDatabaseName(database);
    table->setTableName(tableName);
    return table;
}

QString TDM::privateFolderPath()
{
    return QDir::toNativeSeparators(QDir(QDir::tempPath()).filePath(QStringLiteral("$$"))) + QDir::separator();
}

void TDM::DataModuleCreate()
{
    AppOptions().BaseFolder = QDir::toNativeSeparators(QDir::currentPath());
    m_baseDatabase->setFolder(AppOptions().BaseFolder);

    // A private folder we cannot make or write leaves the engine's own default.
    const QString privateFolder = privateFolderPath();
    ForceFolder(privateFolder);
    const QFileInfo info(privateFolder);
    if (info.isDir() && info.isWritable())
        m_session->setPrivateFolder(privateFolder);
}

void TDM::applyDateFormats()
{
    if (!HeadM->active())
        return;
    if (engine::Field *start = HeadM->findField(QStringLiteral("KisyuDate")))
        start->setDisplayFormat(m_kisyuFormat);
    if (engine::Field *end = HeadM->findField(QStringLiteral("KimatuDate")))
        end->setDisplayFormat(m_kimatuFormat);
}

void TDM::SetPeriodCaptions(int mode)
{
    // Reads the header row; a closed table is opened for the read and closed again.
    const bool wasOpen = HeadM->active();
    if (!wasOpen) {
        HeadM->open();
        HeadM->first();
    }
    const DateTime start = HeadM->fieldByName(QStringLiteral("KisyuDate")).asDateTime();
    const DateTime end = HeadM->fieldByName(QStringLiteral("KimatuDate")).asDateTime();
    const PeriodFormats formats = PeriodCaptionFormats(start, end, AppOptions().EraDisplay, mode);
    m_kisyuFormat = formats.start;
    m_kimatuFormat = formats.end;
    applyDateFormats();
    if (!wasOpen)
        HeadM->close();
}

} // namespace qpn
