#include "app/TPassChk.h"

#include "app/PasswordRule.h"
#include "app/TPW.h"
#include "app/TSetUphoujinmei.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "platform/ModalForms.h"

#include <QLineEdit>

namespace qpn {

namespace {

int integer(const engine::Table &table, const char *column)
{
    return table.fieldByName(QString::fromLatin1(column)).asInteger();
}

} // namespace

TPassChk::TPassChk(TDM &dm, QObject *parent)
    : QObject(parent), m_dm(dm), m_headM(std::make_unique<engine::Table>())
{
    setObjectName(QStringLiteral("PassChk"));
    m_headM->setTableName(QStringLiteral("headM"));
}

TPassChk::~TPassChk() = default;

void TPassChk::openHeader()
{
    m_headM->setDatabaseName(AppOptions().BaseFolder);
    m_headM->open();
    m_headM->first();
}

bool TPassChk::CheckPassword(QWidget *window)
{
    openHeader();
    const QString stored = StoredPassword(integer(*m_headM, "PM5"));
    AppOptions().CorporationName = m_headM->fieldByName(QStringLiteral("meisyou")).asString();
    m_headM->close();

    QString typed;
    {
        TPW prompt(window);
        ExecModal(prompt);
        typed = prompt.Edit1->text(); // taken however the prompt was closed
    }
    if (!PasswordAccepted(stored, typed))
        return false;

    if (AppOptions().CorporationName.isEmpty()) {
        TSetUphoujinmei form(m_dm, window);
        ExecModal(form);
    }

    openHeader();
    AppOptionsData &options = AppOptions();
    options.CorporationName = m_headM->fieldByName(QStringLiteral("meisyou")).asString();
    options.ResidualMethod = integer(*m_headM, "PM1");
    options.StraightLineBasis = integer(*m_headM, "PM2");
    options.SubsidyResidual = integer(*m_headM, "PM3");
    options.RoundingMode = integer(*m_headM, "PM4");
    options.DisposalMonthly = integer(*m_headM, "PM8");
    options.EraDisplay = integer(*m_headM, "PM6");
    m_headM->close();
    return true;
}

} // namespace qpn
