#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace qpn {

namespace engine {
class Database;
class Session;
class Table;
} // namespace engine

// The data module: the engine session "BBB", the data-folder database "AAA",
// the base-folder database "WWW" and the table components several forms
// share, above all the header table. One lives for the whole process.
class TDM : public QObject
{
    Q_OBJECT

public:
    // Runs DataModuleCreate: BaseFolder from the working folder, "WWW" pointed
    // at it, and the session's private folder.
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    static TDM *instance(); // the live module, or nullptr

    engine::Session &session() const { return *m_session; }
    engine::Database &dataDatabase() const { return *m_dataDatabase; } // "AAA"
    engine::Database &baseDatabase() const { return *m_baseDatabase; } // "WWW"

    // Shared table components; none is open until a form opens it.
    engine::Table *HeadM = nullptr;
    engine::Table *kamokuTB = nullptr;
    engine::Table *BumonTB = nullptr;
    engine::Table *UkeireTB = nullptr;
    engine::Table *RegistTB = nullptr;

    // Gives HeadM.KisyuDate and HeadM.KimatuDate the display formats through
    // which the reports print the period (mode 0 or 1). The formats stay in
    // force, also across reopening the table, until the next call.
    void SetPeriodCaptions(int mode);
    QString kisyuDateFormat() const { return m_kisyuFormat; }
    QString kimatuDateFormat() const { return m_kimatuFormat; }

    // The private folder for the engine's temporary files.
    static QString privateFolderPath();

private:
    void DataModuleCreate();
    engine::Table *makeTable(const QString &objectName, const QString &tableName, const QString &database);
    void applyDateFormats();

    std::unique_ptr<engine::Session> m_session;
    std::unique_ptr<engine::Database> m_dataDatabase;
    std::unique_ptr<engine::Database> m_baseDatabase;
    std::vector<std::unique_ptr<engine::Table>> m_tables; // after the databases: destroyed first
    QString m_kisyuFormat;
    QString m_kimatuFormat;
};

} // namespace qpn
