#include "app/Program.h"

#include "app/StartUp.h"
#include "app/TDM.h"
#include "app/TMain.h"
#include "app/TPassChk.h"
#include "store/SchemaMaker.h"

namespace qpn {

Program::Program()
    : m_main(std::make_unique<TMain>()),
      m_dm(std::make_unique<TDM>()),
      m_schemaMaker(std::make_unique<SchemaMaker>()),
      m_passChk(std::make_unique<TPassChk>(*m_dm)),
      m_startUp(std::make_unique<StartUp>(*m_dm, *m_schemaMaker, *m_passChk, *m_main))
{
    // Forms of later modules (settings, calculation, backup, web view) join
    // here and register their menu actions with setMenuAction.
    // The start-up's update check joins here too, once the site check exists:
    //   m_startUp->setUpdateCheck([](const QString &programFile) { return ...; });
    // Until then no check runs and Label7 stays hidden.
    m_main->setStartUp(m_startUp.get());
}

Program::~Program()
{
    m_main->setStartUp(nullptr);
}

} // namespace qpn
