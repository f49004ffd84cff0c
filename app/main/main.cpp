#include "app/Program.h"
#include "app/QpnApplication.h"
#include "app/TMain.h"
#include "lib/Dialogs.h"
#include "platform/WidgetDialogs.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QScreen>
#include <QTabWidget>

namespace {

void useJapaneseFont(QApplication &app)
{
    // The IPA fonts are installed with the program; the interface uses the proportional Gothic.
    if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPointSize(11);
        app.setFont(font);
    }
}

void centre(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

// --screenshot DIR: the main window with sample captions, each tab page saved
// as DIR/main-menu-1.png and DIR/main-menu-2.png; no register is touched.
int screenshots(qpn::TMain &main, const QString &folder)
{
    main.showUpdateDate(QStringLiteral("最新更新日2019年04月08日"));
    main.showCorporationName(QStringLiteral("社会福祉法人　ほどほど福祉会"));
    main.showFiscalStart(QStringLiteral("2019年04月01日"));
    main.show();
    for (int page = 0; page < 2; ++page) {
        main.PageControl1->setCurrentIndex(page);
        QCoreApplication::processEvents();
        const QString file = QDir(folder).filePath(QStringLiteral("main-menu-%1.png").arg(page + 1));
        if (!main.grab().save(file))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qpn::QpnApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("QPN2"));
    useJapaneseFont(app);
    qpn::WidgetDialogs dialogs;
    const qpn::ScopedDialogs scope(dialogs);

    const QStringList args = app.arguments();
    const qsizetype shotAt = args.indexOf(QStringLiteral("--screenshot"));
    if (shotAt > 0 && shotAt + 1 < args.size()) {
        qpn::TMain main;
        return screenshots(main, args.at(shotAt + 1));
    }

    qpn::Program program;
    QObject::connect(&program.main(), &qpn::TMain::programEnded, &app,
                     [](int code) { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    program.main().show();
    centre(program.main());
    return app.exec();
}
