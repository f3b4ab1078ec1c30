// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/window_options.h"

#include "ui/command_line.h"

#include <QCommandLineParser>

namespace orvanta::view {

namespace {

/// The options QGuiApplication and QApplication take from the command line themselves.
const char* const QtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                          "platformtheme",   "plugin",
                                          "qwindowgeometry", "geometry",
                                          "qwindowicon",     "icon",
                                          "qwindowtitle",    "title",
                                          "display",         "name",
                                          "style",           "stylesheet",
                                          "session",         "qmljsdebugger"};
const char* const QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString quoted(const QString& argument) {
    return QLatin1Char('\'') + QString::fromStdString(printable(argument.toStdString())) +
           QLatin1Char('\'');
}

/// The argument as typed for an option the parser names without its dashes.
QString asTyped(const QStringList& arguments, const QString& name) {
    for (const QString& a : arguments.mid(1)) {
        if (a == QLatin1String("--")) break;
        QString bare = a;
        while (bare.startsWith(QLatin1Char('-')))
            bare.remove(0, 1);
        bare = bare.section(QLatin1Char('='), 0, 0);
        if (a.startsWith(QLatin1Char('-')) && bare == name)
            return a.section(QLatin1Char('='), 0, 0);
    }
    return QStringLiteral("--") + name;
}

} // namespace

WindowOptions readWindowOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform offscreen), not bundled letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : QtOptionsWithValue) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : QtFlags) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }

    WindowOptions w;
    const QString see = QStringLiteral(" (see 'orvanta --help')");
    auto error = [&](const QString& text) {
        w.action = WindowOptions::Action::Error;
        w.error = QStringLiteral("orvanta: ") + text + see;
        return w;
    };
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return error(QStringLiteral("unknown option ") +
                         quoted(asTyped(arguments, parser.unknownOptionNames().first())));
        QString text = parser.errorText();
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
        return error(QString::fromStdString(printable(text.toStdString())));
    }
    if (parser.isSet(help)) {
        w.action = WindowOptions::Action::Help;
        return w;
    }
    if (parser.isSet(version)) {
        w.action = WindowOptions::Action::Version;
        return w;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return error(QStringLiteral("one file at a time; ") + quoted(files.at(1)) +
                     QStringLiteral(" is one too many"));
    if (!files.isEmpty()) w.file = files.first();
    w.platform = parser.isSet(QStringLiteral("platform"));
    return w;
}

} // namespace orvanta::view
