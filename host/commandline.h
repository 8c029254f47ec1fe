#pragma once

#include <QString>

// What the program's command line asks for: `quillor-list-exporter [--help] [--version] [FILE]`.
struct CommandLine
{
    // The list to open on the editing page, as an absolute local path; empty for none.
    QString listPath;
    // At least 0 when the program is to end at once with this status: after the help or
    // the version was printed, or after a mistake in the arguments was reported.
    int exitStatus = -1;
};

// Whether the arguments ask for the help or the version, which need no display: the
// program can answer them before it connects to one.
bool asksForTextOnly(int argc, char **argv);

// Reads the running application's arguments, printing what they ask for or what is wrong
// with them.
CommandLine readCommandLine();

// A list given on the command line as a local path: a file:// URL decoded, a relative path
// taken from `workingFolder`.
QString listPathFromArgument(const QString &argument, const QString &workingFolder);
