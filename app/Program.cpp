#include "app/Program.h"

#include "app/StartUp.h"
#include "app/TDM.h"
#include "app/TMain.h"
#include "app/TPassChk.h"
#include "depreciation/Tkoushin.h"
#include "platform/ModalForms.h"
#include "register/TBumon.h"
#include "register/THead.h"
#include "register/TMaster1.h"
#include "register/TMaster2.h"
#include "register/TMaster3.h"
#include "register/Tkamoku.h"
#include "register/Tukeire.h"
#include "store/SchemaMaker.h"

namespace qpn {

Program::Program()
    : m_main(std::make_unique<TMain>()),
      m_dm(std::make_unique<TDM>()),
      m_schemaMaker(std::make_unique<SchemaMaker>()),
      m_koushin(std::make_unique<Tkoushin>(m_dm->dataDatabase(), QStringLiteral("WWW"), m_main.get())),
      m_passChk(std::make_unique<TPassChk>(*m_dm)),
      m_startUp(std::make_unique<StartUp>(*m_dm, *m_schemaMaker, *m_passChk, *m_main))
{
    // Forms of later modules (backup, web view, reports) join here and
    // register their menu actions with setMenuAction.
    // The start-up's update check joins here too, once the site check exists:
    //   m_startUp->setUpdateCheck([](const QString &programFile) { return ...; });
    // Until then no check runs and Label7 stays hidden.
    m_main->setStartUp(m_startUp.get());
    wireMenu();
}

void Program::wireMenu()
{
    // The main menu refreshes its fiscal-start display after this action.
    m_main->setMenuAction(QStringLiteral("BitBtn2"), [this] {
        THead form(QStringLiteral("WWW"), QStringLiteral("AAA"), QString(), m_main.get());
        ExecModal(form);
    });
    m_main->setMenuAction(QStringLiteral("Button7"), [this] { ExecModal(*m_koushin); });

    // The master lists.
    m_main->setMenuAction(QStringLiteral("Button2"), [this] { Tkamoku::Execute(m_main.get()); });
    m_main->setMenuAction(QStringLiteral("Button3"), [this] { TBumon::Execute(m_main.get()); });
    m_main->setMenuAction(QStringLiteral("Button4"), [this] { Tukeire::Execute(m_main.get()); });
    m_main->setMenuAction(QStringLiteral("Button10"), [this] { TMaster1::Execute(m_main.get()); });
    m_main->setMenuAction(QStringLiteral("Button11"), [this] { TMaster2::Execute(m_main.get()); });
    m_main->setMenuAction(QStringLiteral("Button16"), [this] { TMaster3::Execute(m_main.get()); });
}

Program::~Program()
{
    m_main->setStartUp(nullptr);
}

} // namespace qpn
