#pragma once

#include "lib/DateValue.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace qpn
{

namespace engine
{
class Table;
}

// One option column of the header row as its radio group edits it.
struct HeaderOption {
    QString column;                  // "PM1"
    QString control;                 // "RadioGroup1"
    QString cliName;                 // "residual-method"
    QString caption;                 // the radio group's caption
    QStringList items;               // item texts; the stored value is the index
    std::optional<int> openingValue; // set on opening when the column is null
};

// The corporation settings behind the settings form and `qpn settings`: the
// single header row, held in edit state between open() and close(). Opening
// fills the missing options and proposes a fiscal start; closing derives the
// fiscal end, stores the options, publishes them to AppOptions and fixes every
// year before the new fiscal year.
class HeaderSettings
{
public:
    // The header table's database (handle name or folder), the data folder's
    // (for the year table) and the engine session; empty names the default.
    HeaderSettings(const QString &baseDatabase, const QString &dataDatabase,
                   const QString &session = QString());
    ~HeaderSettings();
    HeaderSettings(const HeaderSettings &) = delete;
    HeaderSettings &operator=(const HeaderSettings &) = delete;

    // The option columns in the order the form shows them.
    static const QList<HeaderOption> &Options();
    static const HeaderOption *findOption(const QString &column);

    // 1 April of the fiscal year that holds the given day.
    static DateTime ProposedFiscalStart(DateTime today);
    // The day before the same date a year later; 29 February, which has no
    // such date, is refused (SettingsRefused, its message shown).
    static DateTime FiscalEndOf(DateTime fiscalStart);

    // Fills AppOptions from the stored header row, as start-up does: the
    // fiscal period, the options and the transition year. Writes nothing.
    static void LoadAppOptions(const QString &baseDatabase);

    // Opens the header row in edit state (a table without a row gets one),
    // sets the missing options and, when there is no fiscal start, proposes
    // one from today. Posts those defaults before editing again.
    void open();
    bool isOpen() const;

    // The current row's values while open. Dates read as "yyyy/mm/dd".
    QVariant value(const QString &column) const;
    QString text(const QString &column) const;
    int option(const QString &column) const; // a null reads as 0
    // Writes a typed value into the row; a text the column cannot take is
    // refused with the engine's conversion message (EngineError).
    void setText(const QString &column, const QString &text);
    void setOption(const QString &column, int value);

    // Checks the row, then stores the fiscal end and the options, posts and
    // closes the table, publishes AppOptions and fixes the past years.
    // Throws SettingsRefused, its message shown and nothing written, when the
    // fiscal start cannot be used; the row then stays open in edit state.
    void close();
    // Leaves without saving what has not been posted.
    void cancel();

private:
    engine::Table &head() const;

    QString m_baseDatabase;
    QString m_dataDatabase;
    std::unique_ptr<engine::Table> m_head;
};

} // namespace qpn
