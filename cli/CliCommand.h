#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace qpn::cli {

// What every subcommand receives: the base folder (--base, default the working
// folder), its own arguments, and the two output streams (UTF-8).
struct CliContext
{
    QString baseFolder;
    QStringList args;
    QTextStream &out;
    QTextStream &err;
};

// A subcommand; returns the process exit status. Errors are reported on err
// with the engine's or the program's own message, status 1.
struct CliCommand
{
    QString name;
    QString usage;   // "init [--accounts social-welfare|school] [--name TEXT]"
    QString summary; // one line for --help
    std::function<int(CliContext &)> run;
};

// Registers a subcommand from a static object in its own file:
//   static const CommandRegistrar reg({"init", "...", "...", &runInit});
struct CommandRegistrar
{
    explicit CommandRegistrar(CliCommand command);
};

const QList<CliCommand> &RegisteredCommands();

// Small helpers for option parsing: takes "--name VALUE" out of args.
bool TakeFlag(QStringList &args, const QString &flag);
bool TakeOption(QStringList &args, const QString &option, QString &value); // throws on a missing value

} // namespace qpn::cli
