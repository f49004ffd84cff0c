#pragma once

#include <memory>

namespace qpn {

class SchemaMaker;
class StartUp;
class TDM;
class TMain;
class TPassChk;
class Tkoushin;

// The program's long-lived objects, created in their fixed order (main
// window first, so it is the main form) and wired together.
class Program
{
public:
    Program();
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    TMain &main() const { return *m_main; }
    TDM &dm() const { return *m_dm; }
    SchemaMaker &schemaMaker() const { return *m_schemaMaker; }
    TPassChk &passChk() const { return *m_passChk; }
    StartUp &startUp() const { return *m_startUp; }
    Tkoushin &koushin() const { return *m_koushin; }

private:
    void wireMenu();

    std::unique_ptr<TMain> m_main;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<SchemaMaker> m_schemaMaker;
    std::unique_ptr<Tkoushin> m_koushin; // one calculation form for the whole process
    std::unique_ptr<TPassChk> m_passChk;
    std::unique_ptr<StartUp> m_startUp;
};

} // namespace qpn
