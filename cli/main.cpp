#include "cli/CliCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>
#include <exception>

namespace {

void printUsage(QTextStream &out)
{
    out << "使い方 / usage: qpn [--base DIR] COMMAND [OPTIONS]\n"
           "固定資産台帳 QPN2 のコマンドライン版です。\n"
           "The command-line tool of the QPN2 fixed-asset register.\n\n"
           "  --base DIR   the register folder (holds HeadM and QPNdata/); default: the working folder\n"
           "  --help       this text\n"
           "  --version    the program's version\n";
    const auto &commands = qpn::cli::RegisteredCommands();
    if (!commands.isEmpty())
        out << "\ncommands:\n";
    for (const auto &command : commands)
        out << "  " << command.usage << "\n      " << command.summary << "\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);

    try {
        if (args.isEmpty() || qpn::cli::TakeFlag(args, QStringLiteral("--help"))
            || qpn::cli::TakeFlag(args, QStringLiteral("-h"))) {
            printUsage(out);
            return args.isEmpty() && app.arguments().size() == 1 ? 2 : 0;
        }
        if (qpn::cli::TakeFlag(args, QStringLiteral("--version"))) {
            out << "qpn " << QPN_VERSION << "\n";
            return 0;
        }
        QString base = QDir::currentPath();
        qpn::cli::TakeOption(args, QStringLiteral("--base"), base);
        if (args.isEmpty()) {
            printUsage(err);
            return 2;
        }
        const QString name = args.takeFirst();
        for (const auto &command : qpn::cli::RegisteredCommands()) {
            if (command.name == name) {
                qpn::cli::CliContext context{QDir(base).absolutePath(), args, out, err};
                return command.run(context);
            }
        }
        err << "qpn: 不明なコマンドです: " << name << "\n";
        printUsage(err);
        return 2;
    } catch (const std::exception &error) {
        err << QString::fromUtf8(error.what()) << "\n";
        return 1;
    }
}
